// Standard input, output and error in binary mode on Windows, from before main runs.
//
// DRAFT for the Windows build, to become the Windows side of the console service. Windows' C
// library opens the standard streams in text mode, which writes every "\n" as "\r\n" and reads
// a 0x1A byte as the end: the headless tool's JSON and PNG output (--state -, a picture to
// stdout) would differ from every other target's bytes, and a piped demo would be cut short.
// Consoles show a bare "\n" as a line break, so nothing is lost by binary mode. The object is
// linked into each program directly (not from a library), so its initializer always runs.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

struct TBinaryStandardStreams {
  TBinaryStandardStreams() {
    // A stream with no handle behind it (a window program started without a console) reports
    // an error here and stays as it is: nothing is written to it anyway.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
  }
};

const TBinaryStandardStreams BinaryStandardStreams;

}  // namespace
