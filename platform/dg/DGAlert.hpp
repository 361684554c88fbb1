// Alerts from a module's 'ALRT' records (the add-on's side), and who
// answers them (the window system's side).
//
// DGResAlert shows alert `id` of the module and answers the number of the
// button the user pressed (1 to the alert's button count). An alert the
// module lacks, or whose record is malformed, is not shown and answers 0.
// With nobody set to answer, or an answer that is no button of the alert,
// the alert answers 1, its default button (as Enter does).
#pragma once
#include "platform/rs/RS.hpp"
#include <functional>
#include <vector>

PLATFORM_API Int16 DGResAlert(GSResModule module, Int16 id);

namespace DG {

struct AlertResource {
    Int16 id = 0;
    GS::UniString title, text, detail;
    std::vector<GS::UniString> buttons;  // button n at n - 1
};

// Reads alert `id` of the module; false when it is missing or malformed.
PLATFORM_API bool ReadAlertResource(GSResModule module, Int16 id, AlertResource* out);
// Decodes an 'ALRT' record (every length checked against the record's size;
// one to three buttons).
PLATFORM_API bool DecodeAlertResource(const unsigned char* data, UInt32 size, AlertResource* out);

namespace UserInput {

// Who answers alerts: the alert shown, and the button pressed.
using AlertAnswer = std::function<Int16(const AlertResource& alert)>;
PLATFORM_API void SetAlertAnswer(AlertAnswer answer);

}  // namespace UserInput
}  // namespace DG
