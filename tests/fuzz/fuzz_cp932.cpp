// The code page 932 decoder and the UTF-8 helpers every file text goes through.
#include <string>
#include <string_view>

#include "platform/text_codec.h"
#include "tests/fuzz/fuzz_target.h"

TM_FUZZ_TARGET(cp932) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    if (const auto utf8 = Cp932ToUtf8(bytes)) {
        FUZZ_CHECK(IsValidUtf8(*utf8));
        // Whatever a file held, the game can write it back and read the same text.
        const auto again = Utf8ToCp932(*utf8);
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(Cp932ToUtf8(*again) == utf8);
    }

    // The lossy encoder never fails and always gives decodable bytes.
    FUZZ_CHECK(Cp932ToUtf8(Utf8ToCp932Lossy(bytes)).has_value());

    // The UTF-8 helpers take any bytes: every byte lands in exactly one character.
    const auto characters = SplitUtf8Characters(bytes);
    std::size_t joined = 0;
    for (const std::string& c : characters) {
        FUZZ_CHECK(!c.empty());
        joined += c.size();
    }
    FUZZ_CHECK(joined == size);
    const std::size_t units = Utf16Length(bytes);
    FUZZ_CHECK(units >= characters.size() && units <= 2 * characters.size());
    for (int i : {-1, 0, static_cast<int>(units) / 2, static_cast<int>(units) - 1, static_cast<int>(units)}) {
        const std::string c = Utf16UnitCharacter(bytes, i);
        FUZZ_CHECK((i >= 0 && i < static_cast<int>(units)) == !c.empty());
    }
    return 0;
}
