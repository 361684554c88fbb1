// The preview picture of a placed crowning, beam or column: the host's
// view of the object in its section, saved as a JPEG file into the host's
// temporary folder under the object's GUID, for the edit list's entries.
#pragma once
#include "platform/api/APIdefs.hpp"

// The size of an entry's picture-path buffer.
constexpr Int32 PicturePathSize = 1000;

// Saves the object's preview picture and writes its full path (8-bit text
// in the host's code page, cut to the buffer) into `picturePath`, which
// keeps what it held when no picture is made. Answers 0, or the host's code
// of a failed temporary folder, database query or first failed save. The
// object's "bShowSection" is back at its earlier state (set exactly when it
// was above 0.1) on every path that changed it. No exception leaves.
GSErrCode SaveComplexPreviewPicture(const API_Guid& object, char (&picturePath)[PicturePathSize]) noexcept;

// Whether a save failed while the add-on has been loaded: the warning is
// shown only the first time.
bool PictureWarningShown();
// As at a fresh load; for tests that run many loads in one process.
void ResetPictureWarning();
