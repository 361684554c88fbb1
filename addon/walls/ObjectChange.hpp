// One change of a linked object: its record, the mask that marks exactly the
// fields set here, and its parameters, sent to the host in one call.
//
// A value that is not a finite number is never set: the field keeps what it
// had, and the change counts as incomplete, so that it is not sent at all
// (an object is changed whole or left as it was).
#pragma once
#include "addon/host/Owners.hpp"
#include "platform/api/APIdefs.hpp"

class ObjectChange {
public:
    // The object's record as read; its parameters are read by ReadParams.
    explicit ObjectChange(const API_Element& object);
    ObjectChange(const ObjectChange&) = delete;
    ObjectChange& operator=(const ObjectChange&) = delete;

    // False when the host cannot hand out the parameters; the object is
    // then left as it is, so that its outline and its place never disagree.
    bool ReadParams();

    void SetStory(Int16 story);
    void SetPosition(const API_Coord& position);
    void SetAngle(double angle);
    void SetLevel(double level);

    const API_Element& Object() const { return object; }
    API_ElementMemo& Memo() { return memo.Get(); }
    API_AddParType** Params() { return memo->params; }

    // Whether a value could not be set.
    bool Incomplete() const { return incomplete; }
    // Marks the change as one that cannot be made whole.
    void GiveUp() { incomplete = true; }

    // The change of the marked fields and the parameters; the host's answer.
    GSErrCode Commit();

private:
    bool incomplete = false;
    API_Element object;
    API_Element mask;
    MemoOwner memo;
};
