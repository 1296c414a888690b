// Reasons a parser must give, each with the argument lists it must refuse with exactly it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

template <typename Text>
struct Refusal {
    std::string error;
    std::vector<std::vector<Text>> argumentLists;
};

// parse(arguments, &parsed, &error) refuses every list with exactly its reason.
template <typename Parsed, typename Parse, typename Text>
void ExpectRefused(Parse parse, const std::vector<Refusal<Text>>& refusals)
{
    for (const Refusal<Text>& refusal : refusals) {
        for (const std::vector<Text>& arguments : refusal.argumentLists) {
            Parsed parsed;
            std::string error;
            EXPECT_FALSE(parse(arguments, &parsed, &error)) << refusal.error;
            EXPECT_EQ(refusal.error, error);
        }
    }
}
