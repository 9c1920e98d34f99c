#include "data/column_heads.h"

#include <gtest/gtest.h>

namespace {

struct HeaderCase {
    const char* line;
    std::vector<std::string> names;
    std::vector<int> uncertaintyColumns;
};

const HeaderCase headerCases[] = {
    {"L (m),T (s),u(T) (s)", {"L", "T", "u(T)"}, {-1, 2, -1}},
    {"L [m], T , ΔT", {"L", "T", "ΔT"}, {-1, 2, -1}},
    {"t,x,δx [cm],v,±", {"t", "x", "δx", "v", "±"}, {-1, 2, -1, 4, -1}},
    {"t,x,± (cm)", {"t", "x", "±"}, {-1, 2, -1}},
    // u(t) belongs to t only when it stands just after it
    {"t,x,u(t)", {"t", "x", "u(t)"}, {-1, -1, -1}},
    // a longer name is not the name
    {"T,ΔTx,u(T2)", {"T", "ΔTx", "u(T2)"}, {-1, -1, -1}},
    // the first column has no column before it
    {"±,x", {"±", "x"}, {-1, -1}},
    {"θ (rad),,u(θ)", {"θ", "", "u(θ)"}, {-1, -1, -1}},
    // a field kept in its quotes for the delimiter inside it
    {"\"Position, x (m)\",\"u(Position, x)\"", {"Position, x", "u(Position, x)"}, {1, -1}},
};

TEST(ColumnHeads, NameColumnsAndFindTheirUncertainties)
{
    for (const HeaderCase& c : headerCases) {
        const ColumnHeads heads = readColumnHeads(headerFields(c.line, ','));
        EXPECT_EQ(heads.names, c.names) << c.line;
        EXPECT_EQ(heads.uncertaintyColumns, c.uncertaintyColumns) << c.line;
    }
}

} // namespace
