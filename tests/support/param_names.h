#pragma once

#include <gtest/gtest.h>

#include <string>

namespace ztest {

// A parameterised case named after what PrintTo says of its parameter, so that ctest and a
// failure read "3_round_nan" rather than "/3" or "80-byte object <00-00 ...>". The index
// first keeps names unique when two parameters print alike; what is not a letter or a digit
// becomes "_".
inline std::string readableName(const std::string &printed, size_t index)
{
    std::string name = std::to_string(index);
    bool gap = true;
    for (const char c : printed) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain) {
            if (gap)
                name += '_';
            name += c;
            gap = false;
        } else {
            gap = true;
        }
        if (name.size() >= 60)
            break;
    }
    return name;
}

struct PrintedName {
    template <class T> std::string operator()(const ::testing::TestParamInfo<T> &info) const
    {
        return readableName(::testing::PrintToString(info.param), info.index);
    }
};

} // namespace ztest
