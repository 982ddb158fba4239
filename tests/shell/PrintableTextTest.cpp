// Escaping outside bytes for messages: what stays as written and what becomes \xHH.
#include <gtest/gtest.h>

#include <string>

#include "shell/PrintableText.h"

namespace {

struct TCase {
  std::string In, Out;
};

class PrintableTextCases : public ::testing::TestWithParam<TCase> {};

}  // namespace

TEST_P(PrintableTextCases, ShowsTheBytesOnOneLineWithoutControls) {
  EXPECT_EQ(PrintableText(GetParam().In), GetParam().Out);
}

INSTANTIATE_TEST_SUITE_P(
    PrintableText, PrintableTextCases,
    ::testing::Values(
        TCase{"", ""}, TCase{"plain name.bmp ~!", "plain name.bmp ~!"},
        // A newline, an escape sequence and the other C0 controls, DEL and NUL.
        TCase{"a\nb\x1b[31mred\r\t", "a\\x0ab\\x1b[31mred\\x0d\\x09"}, TCase{std::string("\0\x7f", 2), "\\x00\\x7f"},
        // The backslash is escaped too, so "\x1b" in a message always means the byte.
        TCase{"\\x1b", "\\\\x1b"},
        // Well-formed UTF-8 text stays: two-, three- and four-byte characters.
        TCase{"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x9a\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x9a\x80"},
        // C1 controls (the 8-bit CSI U+009B among them) and the no-break space just above them.
        TCase{"\xc2\x9b\xc2\x80\xc2\xa0", "\\xc2\\x9b\\xc2\\x80\xc2\xa0"},
        // Bare 8-bit bytes, overlong forms, surrogates, code points past U+10FFFF, cut sequences.
        TCase{"\x9b\xff", "\\x9b\\xff"}, TCase{"\xc0\xaf\xe0\x80\xaf", "\\xc0\\xaf\\xe0\\x80\\xaf"},
        TCase{"\xed\xa0\x80", "\\xed\\xa0\\x80"}, TCase{"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
        TCase{"\xe2\x82", "\\xe2\\x82"}, TCase{"\xe2\x82x", "\\xe2\\x82x"}));
