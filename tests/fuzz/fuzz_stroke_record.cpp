// record2.dat, the stroke challenge's best result: any file gives a count the
// game can show and compare against.
#include <unistd.h>

#include <fstream>
#include <string>

#include "game/tform1.h"
#include "persistence/record_files.h"
#include "tests/fuzz/fuzz_target.h"

TM_FUZZ_TARGET(stroke_record) {
    static const std::string path = "/tmp/teramon_fuzz_record2_" + std::to_string(getpid()) + ".dat";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
    const int strokes = ReadStrokeRecordFile(path);
    FUZZ_CHECK(strokes >= 0);
    if (size == 0) FUZZ_CHECK(strokes == kDefaultStrokeRecord);
    const std::string shown = ZeroPad(strokes, 3);
    FUZZ_CHECK(shown.size() >= 3);
    return 0;
}
