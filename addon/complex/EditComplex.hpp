// The edit commands of the complex elements, started from the palette's
// push menus: each re-assembles existing crownings, beams or columns.
#pragma once

bool EditCrowningCommand();
bool EditBeamCommand();
bool EditColumnCommand();
