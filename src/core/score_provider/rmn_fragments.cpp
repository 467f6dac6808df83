#include "src/core/score_provider/rmn_fragments.h"

namespace Core {

const std::string GCleffC = "\\clef<\"g2\"> ";
const std::string FCleffC = "\\clef<\"f4\"> ";
const std::string StemsAuto = " \\stemsAuto ";
const std::string StemsUp = " \\stemsUp ";
const std::string StemsDown = " \\stemsDown ";
const std::string startChord = " { ";
const std::string finishChord = " } ";
const std::string comma = " , ";
const std::string whitespace = " ";
const std::string finishStaff = " ]";
const std::string rightFormat = "  \\noteFormat<color=\"0x00996c\"> ";
const std::string wrongFormat = "  \\noteFormat<color=\"0xdc4040\"> ";
const std::string notPlayedFormat = "  \\noteFormat<color=\"0x2789dd\"> ";
const std::string blackFormat = "  \\noteFormat<color=\"black\"> ";

const std::array<std::array<const char*, 2>, 12> RazidNotesNamesMap = {{
    {"c", "c"},
    {"c#", "d&"},
    {"d", "d"},
    {"d#", "e&"},
    {"e", "e"},
    {"f", "f"},
    {"f#", "g&"},
    {"g", "g"},
    {"g#", "a&"},
    {"a", "a"},
    {"a#", "b&"},
    {"b", "b"},
}};

const std::array<const char*, 9> NoteOctaveSignature = {"-3", "-2", "-1", "0", "1",
                                                        "2",  "3",  "4",  "5"};

}  // namespace Core
