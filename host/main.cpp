#include "host/host.h"

int main() { return korva::RunHost(); }
