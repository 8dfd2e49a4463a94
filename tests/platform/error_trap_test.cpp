#include "platform/services/error_trap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

TEST(ErrorTrap, RetryRunsExactlyTheFailedStatementAgainThenGoesOn) {
  std::vector<std::string> ran;
  bool broken = true;
  std::vector<int> caught;
  RunTrapped({
                 [&] { ran.push_back("a"); },
                 [&] {
                   ran.push_back("b");
                   if (broken) throw RuntimeError(error::kTypeMismatch);
                 },
                 [&] { ran.push_back("c"); },
             },
             [&](const RuntimeError& e) {
               caught.push_back(e.number());
               broken = false;
               return Recovery::kRetry;
             });
  EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "b", "c"}));
  EXPECT_EQ(caught, std::vector<int>{13});
}

TEST(ErrorTrap, LeaveSkipsTheRemainingStatements) {
  std::vector<std::string> ran;
  RunTrapped({[&] { ran.push_back("a"); }, [&] { throw RuntimeError(error::kPathNotFound); },
              [&] { ran.push_back("c"); }},
             [](const RuntimeError&) { return Recovery::kLeave; });
  EXPECT_EQ(ran, std::vector<std::string>{"a"});
}

TEST(ErrorTrap, AnErrorInsideTheRecoveryBlockEscapes) {
  EXPECT_THROW(
      RunTrapped({[] { throw RuntimeError(error::kTypeMismatch); }},
                 [](const RuntimeError&) -> Recovery { throw RuntimeError(error::kInvalidCall); }),
      RuntimeError);
}

TEST(ErrorTrap, EndingTheProgramPassesTheTrap) {
  int recoveries = 0;
  EXPECT_THROW(RunTrapped({[] { throw EndProgram{}; }},
                          [&](const RuntimeError&) {
                            ++recoveries;
                            return Recovery::kRetry;
                          }),
               EndProgram);
  EXPECT_EQ(recoveries, 0);
}

TEST(ErrorTrap, AnErrorRaisedDeepInACalledProcedureIsCaughtAtTheCall) {
  const auto procedure = [] { throw RuntimeError(error::kFileNotFound); };
  int number = 0;
  RunTrapped({[&] { procedure(); }}, [&](const RuntimeError& e) {
    number = e.number();
    return Recovery::kLeave;
  });
  EXPECT_EQ(number, 53);
}

}  // namespace
}  // namespace platform
