// benchtabler-batch: one command of Bench Tabler on a data file, without a
// window, for answer keys.

#include "batch/batch_run.h"

#include <iostream>

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const BatchResult result = runBatch(std::vector<std::string>(argv + 1, argv + argc), std::cin);
    std::cout << result.out;
    std::cerr << result.err;
    std::cout.flush();
    return result.exitStatus;
}
