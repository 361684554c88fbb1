#include "addon/complex/EditListDialog.hpp"
#include <cstring>

CompDialInfo::CompDialInfo() : id(new char[1000]), picturePath(new char[1000])
{
    id[0] = '\0';
    picturePath[0] = '\0';
}

CompDialInfo::~CompDialInfo()
{
    delete[] id;
    delete[] picturePath;
}

ComplexListDialogData::~ComplexListDialogData()
{
    for (Int32 i = 1; i <= entries.GetItemCount(); ++i)
        delete entries[i];
}

// The list of placed elements comes with the edit commands.
bool CollectComplexObjectsById(const ObjectModifier&, ComplexListDialogData&) { return false; }

Int16 EditObjectListDialogProc(Int16, Int16, Int16, void*) { return 2; }
