#include "host/host.h"

int main(int argc, char** argv) { return korva::RunHost(argc, argv); }
