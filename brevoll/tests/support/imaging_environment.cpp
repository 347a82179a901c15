// The imaging library is started once for the whole suite, as the program does in main.
#include <gtest/gtest.h>

#include "imaging/imaging.h"

namespace {

class ImagingEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(corvelle::StartImaging("brevoll_tests")); }
};

[[maybe_unused]] ::testing::Environment* const kImaging =
    ::testing::AddGlobalTestEnvironment(new ImagingEnvironment);

}  // namespace
