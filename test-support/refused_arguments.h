// Argument lists a parser must refuse, each with the message it must give.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

template <typename Text>
struct Refusal {
    std::vector<Text> arguments;
    std::string error;
};

// parse(arguments, &parsed, &error) refuses every list with exactly its message.
template <typename Parsed, typename Parse, typename Text>
void ExpectRefused(Parse parse, const std::vector<Refusal<Text>>& refusals)
{
    for (const Refusal<Text>& refusal : refusals) {
        Parsed parsed;
        std::string error;
        EXPECT_FALSE(parse(refusal.arguments, &parsed, &error)) << refusal.error;
        EXPECT_EQ(refusal.error, error);
    }
}
