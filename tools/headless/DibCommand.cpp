// dib FILE: reads a picture with the game's own bitmap reader and describes it in one JSON line.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "display/Picture.h"
#include "shell/PrintableText.h"
#include "tools/headless/Commands.h"
#include "report/Json.h"
#include "system/Files.h"

namespace {

struct TCloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TCloseFile>;

// Appends up to n more bytes of the file to bytes (fewer at its end). False on a read error.
// The memory is taken as the bytes come, so a short file that declares a large picture costs
// only what it holds.
bool ReadMore(std::FILE* in, std::vector<std::uint8_t>& bytes, std::size_t n) {
  bytes.reserve(bytes.size() + n);
  while (n > 0) {
    const std::size_t had = bytes.size(), chunk = std::min<std::size_t>(n, 1 << 20);
    bytes.resize(had + chunk);
    const std::size_t got = std::fread(bytes.data() + had, 1, chunk, in);
    bytes.resize(had + got);
    if (got < chunk) break;
    n -= got;
  }
  return !std::ferror(in);
}

// Whether the file goes on for more than n further bytes, reading at most n + 1 of them (a stream
// such as /dev/zero has no size to ask for). False on a read error too, which the caller checks.
bool LongerThan(std::FILE* in, std::size_t n) {
  std::vector<char> chunk(1 << 16);
  for (std::size_t left = n + 1; left > 0;) {
    const std::size_t got = std::fread(chunk.data(), 1, std::min(left, chunk.size()), in);
    if (got == 0) return false;
    left -= got;
  }
  return true;
}

}  // namespace

int DibCommand(const TCommandArgs& args) {
  if (args.size() != 1) throw EUsageError("expects one FILE (a .bmp or stored picture data)");
  const std::string& path = args[0];
  // Every message names the file, with its bytes and the reader's shown escaped.
  const auto refuse = [&](const std::string& why) {
    std::fprintf(stderr, "tarnyx-headless dib: %s: %s\n", PrintableText(path).c_str(), PrintableText(why).c_str());
    return 1;
  };
  const auto tooLong = [&] {
    return refuse("longer than the largest picture the reader takes (" + std::to_string(MaxDIBFileBytes) + " bytes)");
  };

  // A file whose size is known is judged before a byte of it is read.
  const TPathInfo info = LookAtPath(path);
  if (info.Kind == pkRegular && info.Size > MaxDIBFileBytes) return tooLong();
  TFile in(OpenFile(path, "rb"));
  if (!in) return refuse(std::string("cannot open: ") + std::strerror(errno));
  const auto readError = [&] { return refuse(std::string("cannot read: ") + std::strerror(errno)); };

  // The first bytes say how long the picture is; only that much more is read, and whatever the
  // file holds beyond it only counts against the length limit.
  std::vector<std::uint8_t> bytes;
  TDIB dib;
  try {
    if (!ReadMore(in.get(), bytes, DIBFileHeadBytes)) return readError();
    const std::size_t size = DIBFileSize(bytes.data(), bytes.size());
    if (size > bytes.size() && !ReadMore(in.get(), bytes, size - bytes.size())) return readError();
    if (!std::feof(in.get()) && LongerThan(in.get(), MaxDIBFileBytes - bytes.size())) return tooLong();
    if (std::ferror(in.get())) return readError();
    dib = ReadDIBFile(bytes.data(), bytes.size());
  } catch (const EInvalidGraphic& e) {
    return refuse(std::string("EInvalidGraphic: ") + e.what());
  } catch (const EInvalidGraphicOperation& e) {
    return refuse(std::string("EInvalidGraphicOperation: ") + e.what());
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
