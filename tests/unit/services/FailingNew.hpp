// Running out of memory on demand in the add-on's unit tests: this program
// replaces operator new, and while a FailingNew lives every allocation after
// the first `succeeding` ones throws std::bad_alloc.
#pragma once

class FailingNew {
public:
    explicit FailingNew(int succeeding = 0);
    ~FailingNew();
    FailingNew(const FailingNew&) = delete;
    FailingNew& operator=(const FailingNew&) = delete;
};
