// The player's additional-question file (NewTuikamondai.txt, code page 932 or UTF-8):
// whatever it holds, only four-character idioms that are not built in come out,
// with a speech text that can be spoken.
#include <unistd.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "game/question_table.h"
#include "platform/text_codec.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

bool IsBuiltIn(std::string_view idiom) { return idiom == "一石二鳥" || idiom == "四字熟語"; }

void CheckQuestions(const std::vector<AdditionalQuestion>& questions) {
    for (const AdditionalQuestion& q : questions) {
        FUZZ_CHECK(Utf16Length(q.jukugo) == 4);
        FUZZ_CHECK(!IsBuiltIn(q.jukugo));
        FUZZ_CHECK(Cp932ToUtf8(q.speakMoji).has_value());
    }
}

}  // namespace

TM_FUZZ_TARGET(additional_questions) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The parser alone, on the bytes as if already decoded.
    CheckQuestions(ParseAdditionalQuestions(bytes, IsBuiltIn));

    // The whole loader, through a file.
    static const std::string path = "/tmp/teramon_fuzz_questions_" + std::to_string(getpid()) + ".txt";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    const auto loaded = ReadAdditionalQuestionFile(path, IsBuiltIn);
    FUZZ_CHECK(loaded.has_value());
    CheckQuestions(*loaded);
    if (const auto text = DecodeTextFile(bytes))
        FUZZ_CHECK(loaded->size() == ParseAdditionalQuestions(text->utf8, IsBuiltIn).size());
    else
        FUZZ_CHECK(loaded->empty());
    return 0;
}
