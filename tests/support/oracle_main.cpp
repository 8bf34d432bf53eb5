// SPDX-License-Identifier: MIT
// The tests' oracle for tests written in another language (the page's browser test):
//   dravlet_oracle "<problem as shown>" "<typed answer>"
// prints the problem's answer and the verdict the learner must see, a line each; exits 1
// with what is wrong when the problem is not sound.
#include <iostream>

#include "tests/support/oracle.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: dravlet_oracle PROBLEM TYPED\n";
        return 2;
    }
    const auto problem = dravlet::testing::readProblem(argv[1]);
    if (problem.broken != nullptr) {
        std::cerr << problem.broken << '\n';
        return 1;
    }
    std::cout << problem.answer << '\n' << dravlet::testing::expectedVerdict(problem, argv[2]) << '\n';
    return 0;
}
