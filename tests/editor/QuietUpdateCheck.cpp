#include "UpdateCheck.h"

#include <gtest/gtest.h>

// Every editor asks the maker's endpoint for updates. In these tests the request goes to a port
// of this machine where nothing listens, so no test depends on the network or on what the
// maker's server says; the update-check tests point it at their own server.
namespace
{
struct QuietUpdateCheck : ::testing::Environment
{
    void SetUp() override { brisca::setUpdateEndpointForTests ("http://127.0.0.1:1"); }
};

[[maybe_unused]] auto* const quiet = ::testing::AddGlobalTestEnvironment (new QuietUpdateCheck);
} // namespace
