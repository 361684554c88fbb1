// Object parameters as tests and benchmarks hand them to the stand-in host
// when they place an object or change one.
#pragma once
#include "simhost/model/Model.hpp"
#include <string>
#include <utility>
#include <vector>

namespace TestParams {

inline SimHost::GdlParam Number(const std::string& name, double value)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = SimHost::GdlParam::Kind::Number;
    p.number = value;
    return p;
}

// A table of `rows` x `columns` numbers, given row by row.
inline SimHost::GdlParam Numbers(const std::string& name, Int32 rows, Int32 columns, std::vector<double> values)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = SimHost::GdlParam::Kind::Numbers;
    p.dim1 = rows;
    p.dim2 = columns;
    p.numbers = std::move(values);
    return p;
}

inline SimHost::GdlParam Text(const std::string& name, std::u16string value)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = SimHost::GdlParam::Kind::Text;
    p.text = std::move(value);
    return p;
}

}  // namespace TestParams
