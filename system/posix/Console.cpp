// The console on POSIX systems: streams carry bytes unchanged and every program has its console.
#include "system/Console.h"

void UseBinaryStandardStreams() {}

void AttachParentConsole() {}
