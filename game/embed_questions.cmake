# Turns the UTF-8 question table into a C++ source holding it as one string,
# so the program needs no data file at run time.
file(READ "${IN}" content)
string(LENGTH "${content}" len)
file(WRITE "${OUT}" "// Generated from game/questions.tsv; do not edit.\n#include <string_view>\n")
file(APPEND "${OUT}" "extern const std::string_view kBuiltInQuestionTable;\n")
file(APPEND "${OUT}" "static const char kTable[] = R\"TMQ(${content})TMQ\";\n")
file(APPEND "${OUT}" "const std::string_view kBuiltInQuestionTable(kTable, sizeof(kTable) - 1);\n")
