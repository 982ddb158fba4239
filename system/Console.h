// The console the programs write to: its standard streams as bytes, and the one that started a
// window program.
#pragma once

// Puts standard input, output and error in binary mode, so that every byte written is the byte
// that arrives (Windows' C library writes "\n" as "\r\n" in text mode and reads 0x1A as the end;
// POSIX systems have no such mode). The headless tool's JSON and PNG output is then the same bytes
// on every system.
void UseBinaryStandardStreams();

// A window program on Windows starts with no console: what it prints goes nowhere unless it was
// redirected to a file or a pipe. This attaches its standard streams that lead nowhere to the
// console of the program that started it (the command prompt the player typed in), so that
// --help, --version and a demo's result line are seen there. Elsewhere, and where the streams
// already lead somewhere or there is no such console, it does nothing.
void AttachParentConsole();
