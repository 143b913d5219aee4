#include "host/host.h"

int main() { return RunHost(); }
