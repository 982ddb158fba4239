// dib FILE: reads a picture with the game's own bitmap reader and describes it in one JSON line.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/Picture.h"
#include "tools/headless/Commands.h"
#include "tools/headless/Json.h"

int DibCommand(const TCommandArgs& args) {
  if (args.size() != 1) throw EUsageError("expects one FILE (a .bmp or stored picture data)");
  std::ifstream in(args[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tarnyx-headless dib: cannot open %s\n", args[0].c_str());
    return 1;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TDIB dib;
  try {
    dib = ReadDIBFile(bytes.data(), bytes.size());
  } catch (const EInvalidGraphic& e) {
    std::fprintf(stderr, "EInvalidGraphic: %s\n", e.what());
    return 1;
  } catch (const EInvalidGraphicOperation& e) {
    std::fprintf(stderr, "EInvalidGraphicOperation: %s\n", e.what());
    return 1;
  }
  std::string out;
  TJsonWriter json(out);
  json.BeginObject()
      .Key("Width").Integer(dib.Width)
      .Key("Height").Integer(dib.Height)
      .Key("BitCount").Integer(dib.BitCount)
      .Key("ColorCount").Integer(dib.ColorCount)
      .EndObject();
  out += '\n';
  std::fputs(out.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
