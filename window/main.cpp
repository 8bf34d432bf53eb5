// SPDX-License-Identifier: MIT
#include "window/entry.h"

int main()
{
    return dravlet::runProgram();
}
