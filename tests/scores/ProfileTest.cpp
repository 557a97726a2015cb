#include "scores/Profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using scores::profile::FindValue;
using scores::profile::WithValue;
using namespace std::string_literals;

struct ReadCase {
    const char* name;
    std::string text;
    std::string key;
    std::optional<std::string> want;
};

TEST(ProfileRead, FollowsThePrivateProfileRules)
{
    const ReadCase cases[] = {
        {"plain", "[S]\r\nk=5\r\n", "k", "5"},
        {"LF line ends", "[S]\nk=5\n", "k", "5"},
        {"CR line ends, last line unterminated", "[S]\rj=1\rk=5", "k", "5"},
        {"CR CR LF is two line ends", "[S]\r\r\nk=5", "k", "5"},
        {"names ignore letter case", "[s]\nK=5", "k", "5"},
        {"line, name and value trimmed of blanks and tabs", " \t[ S ]\t\n \tk \t= \t5 \t\n", "k", "5"},
        {"section name runs to the last bracket", "[S] x]\nk=5", "k", std::nullopt},
        {"header without closing bracket is a key line", "[S]\n[k=3\nk=4", "[k", "3"},
        {"header without closing bracket does not end the section", "[S]\n[x\nk=4", "k", "4"},
        {"splits at the first equals sign", "[S]\nk=a=b", "k", "a=b"},
        {"double quotes removed", "[S]\nk=\"5\"", "k", "5"},
        {"single quotes removed", "[S]\nk='5'", "k", "5"},
        {"only one pair of quotes removed", "[S]\nk=\"\"5\"\"", "k", "\"5\""},
        {"unmatched quotes kept", "[S]\nk=\"5'", "k", "\"5'"},
        {"a lone quote kept", "[S]\nk=\"", "k", "\""},
        {"no inline comments", "[S]\nk=5 ; note", "k", "5 ; note"},
        {"empty value", "[S]\nk=", "k", ""},
        {"line without equals has no value and wins", "[S]\nk\nk=5", "k", std::nullopt},
        {"first key of a name wins", "[S]\nk=1\nK=2", "k", "1"},
        {"keys before the first section belong to none", "k=1\n[S]\nj=2", "k", std::nullopt},
        {"only the first section of a name is searched", "[S]\nj=1\n[T]\nk=0\n[s]\nk=2", "k", std::nullopt},
        {"key of another section", "[T]\nk=1\n[S]\nj=1", "k", std::nullopt},
        {"missing section", "[T]\nk=1", "k", std::nullopt},
        {"byte-order mark skipped", "\xEF\xBB\xBF[S]\nk=5", "k", "5"},
        {"byte-order mark only counts at the start", "\n\xEF\xBB\xBF[S]\nk=5", "k", std::nullopt},
        {"comments and blank lines", ";x\n\n[S]\n;k=9\n\n  \t\nk=5", "k", "5"},
        {"NUL bytes are ordinary bytes", "[S]\nj=\0\nk=5\0"s, "k", "5\0"s},
        {"empty text", "", "k", std::nullopt},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = FindValue(c.text, "S", c.key);
        EXPECT_EQ(got ? std::optional<std::string>(*got) : std::nullopt, c.want);
    }
}

struct WriteCase {
    const char* name;
    std::string text;
    std::string want;
};

TEST(ProfileWrite, ChangesOnlyWhatItMust)
{
    const WriteCase cases[] = {
        {"empty text", "", "[S]\r\nk=1\r\n"},
        {"new section after an unterminated line", "a=1", "a=1\r\n[S]\r\nk=1\r\n"},
        {"new section after a LF", "a=1\n", "a=1\n[S]\r\nk=1\r\n"},
        {"new section after a CR", "a=1\r", "a=1\r[S]\r\nk=1\r\n"},
        {"new section after a blank line keeps it", "a=1\r\n\r\n", "a=1\r\n\r\n[S]\r\nk=1\r\n"},
        {"byte-order mark alone", "\xEF\xBB\xBF", "\xEF\xBB\xBF[S]\r\nk=1\r\n"},
        {"existing line rewritten where it stands", "[S]\r\n  K = 9 ; old\r\nj=2\r\n", "[S]\r\nk=1\r\nj=2\r\n"},
        {"rewritten line keeps its line end", "[S]\nk=9\rj=2\n", "[S]\nk=1\rj=2\n"},
        {"line without equals rewritten", "[S]\nk\nk=7\n", "[S]\nk=1\nk=7\n"},
        {"missing key after the last non-blank line", "[S]\r\nj=2\r\n\r\n[T]\r\nx=1\r\n",
         "[S]\r\nj=2\r\nk=1\r\n\r\n[T]\r\nx=1\r\n"},
        {"missing key in an empty section", "[S]\n\n[T]\n", "[S]\nk=1\r\n\n[T]\n"},
        {"missing key after an unterminated last line", "[S]\r\nj=2", "[S]\r\nj=2\r\nk=1\r\n"},
        {"only the first section of a name is written", "[S]\nj=1\n[s]\nk=5\n", "[S]\nj=1\nk=1\r\n[s]\nk=5\n"},
        {"a key before any section is left alone", "k=5\n[S]\n", "k=5\n[S]\nk=1\r\n"},
        {"NUL bytes kept", "[T]\n\0x\n"s, "[T]\n\0x\n[S]\r\nk=1\r\n"s},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string got = WithValue(c.text, "S", "k", "1");
        EXPECT_EQ(got, c.want);
        EXPECT_EQ(FindValue(got, "S", "k"), std::optional<std::string_view>("1"));
    }
}

TEST(ProfileWrite, KeepsTheOtherKeysOfTheSection)
{
    std::string text = "; hand-made\n[S]\nb=2\n";
    text = WithValue(text, "S", "a", "1");
    text = WithValue(text, "S", "c", "3");
    text = WithValue(text, "S", "b", "20");
    EXPECT_EQ(text, "; hand-made\n[S]\nb=20\na=1\r\nc=3\r\n");
}

} // namespace
