#include "commands/experiment_calculations.h"

#include "command_case.h"

namespace {

const std::string notANumber = "please answer each question with a number";
const std::string noLaunchSpeed =
    "no launch speed fits these values: the height of drop must be greater than the horizontal "
    "range times the slope of the ramp";
const std::string invalidRoll = "You entered an invalid final velocity or an invalid distance.  "
                                "You'll have to start this routine again.";

const CommandCase experiments[] = {
    {"one domino",
     ',',
     "data",
     {"1", "122.5", "50", "1"},
     "data\r\nfor drop height  122.5 cm, horizontal range  50 cm and  1 dominoes in the stack, "
     "the velocity of the ball should be  100 cm/s\r\n",
     {}},
    {"three dominoes",
     ',',
     "data\r\n",
     {"1", "100", "50", "3"},
     "data\r\n\r\nfor drop height  100 cm, horizontal range  50 cm and  3 dominoes in the stack, "
     "the velocity of the ball should be  113.7 cm/s\r\n",
     {}},
    {"echoes in default text",
     ',',
     "",
     {" 1 ", "12.50", "0.5", "-3"},
     "\r\nfor drop height  12.5 cm, horizontal range  .5 cm and -3 dominoes in the stack, "
     "the velocity of the ball should be  3.169 cm/s\r\n",
     {}},
    {"no range",
     ',',
     "",
     {"1", "10", "0", "5"},
     "\r\nfor drop height  10 cm, horizontal range  0 cm and  5 dominoes in the stack, "
     "the velocity of the ball should be 0 cm/s\r\n",
     {}},
    {"acceleration",
     ',',
     "data",
     {"2", "50", "100"},
     "dataThe acceleration corresponding to a roll from rest of  50 cm, which accelerates "
     "uniformly and ends up with velocity  100 cm/s, is  100 cm/s^2.\r\n",
     {}},
    {"negative acceleration",
     ',',
     "data\r\n",
     {"2", "-50", "100"},
     "data\r\nThe acceleration corresponding to a roll from rest of -50 cm, which accelerates "
     "uniformly and ends up with velocity  100 cm/s, is -100 cm/s^2.\r\n",
     {}},
    {"zero distance", ',', "keep", {"2", "0", "100"}, "keep", {invalidRoll}},
    {"zero velocity", ',', "keep", {"2", "50", "0"}, "keep", {invalidRoll}},
    {"menu 3", ',', "keep", {"3"}, "keep", {}},
    {"menu cancelled", ',', "keep", {""}, "keep", {}},
    {"menu letters", ',', "keep", {"one"}, "keep", {}},
    {"projectile letters", ',', "keep", {"1", "ten", "50", "1"}, "keep", {notANumber}},
    {"projectile cancelled", ',', "keep", {"1", "10", "50", ""}, "keep", {notANumber}},
    {"acceleration cancelled", ',', "keep", {"2", "", "100"}, "keep", {notANumber}},
    {"ramp too steep", ',', "keep", {"1", "10", "50", "30"}, "keep", {noLaunchSpeed}},
    {"no drop", ',', "keep", {"1", "0", "0", "1"}, "keep", {noLaunchSpeed}},
    {"velocity too large", ',', "keep", {"1", "1e-300", "1e300", "1"}, "keep", {noLaunchSpeed}},
    {"acceleration underflows",
     ',',
     "keep",
     {"2", "1e300", "1e-300"},
     "keep",
     {"no acceleration can be computed from these values; please check them for a typo"}},
};

class ExperimentCalculations : public testing::TestWithParam<CommandCase> {};
TEST_P(ExperimentCalculations, Run) { runCommandCase(GetParam(), experimentCalculations); }
INSTANTIATE_TEST_SUITE_P(Cases, ExperimentCalculations, testing::ValuesIn(experiments), caseName);

TEST(ExperimentCalculations, AsksTheQuestionsInOrder)
{
    TestBench bench("", {"1", "122.5", "50", "1", "2", "50", "100"});
    experimentCalculations(bench.context);
    experimentCalculations(bench.context);
    EXPECT_EQ(
        bench.ui.prompts,
        (std::vector<std::string>{
            "1. Ball and Ramp Projectile Experiment\r\n2. Uniformity of Acceleration on a Ramp",
            "enter height of drop in cm (y_fall)", "enter horizontal range in cm (x_range)",
            "number of dominoes",
            "1. Ball and Ramp Projectile Experiment\r\n2. Uniformity of Acceleration on a Ramp",
            "displacement of roll, in cm", "final velocity as reported previously, in cm/s"}));
    EXPECT_NE(bench.ui.box.find("should be  100 cm/s\r\nThe acceleration"), std::string::npos);
}

} // namespace
