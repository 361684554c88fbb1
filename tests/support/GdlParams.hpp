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

// A table of `rows` x `columns` cells of the kind, empty.
inline SimHost::GdlParam Table(const std::string& name, SimHost::GdlParam::Kind kind, Int32 rows, Int32 columns)
{
    SimHost::GdlParam p;
    p.name = name;
    p.kind = kind;
    p.dim1 = rows;
    p.dim2 = columns;
    return p;
}

// A table of `rows` x `columns` numbers, given row by row.
inline SimHost::GdlParam Numbers(const std::string& name, Int32 rows, Int32 columns, std::vector<double> values)
{
    SimHost::GdlParam p = Table(name, SimHost::GdlParam::Kind::Numbers, rows, columns);
    p.numbers = std::move(values);
    return p;
}

// A table of `rows` x `columns` texts, given row by row.
inline SimHost::GdlParam Texts(const std::string& name, Int32 rows, Int32 columns, std::vector<std::u16string> values)
{
    SimHost::GdlParam p = Table(name, SimHost::GdlParam::Kind::Texts, rows, columns);
    p.texts = std::move(values);
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
