#include "standin_fixture.h"

namespace kovrel::device {
namespace {

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
};

TEST_F(BindingTest, LoadsTheServiceByBareNameAndInitialisesIt) {
    ServiceBinding binding;
    EXPECT_EQ(binding.Load(standin::kStandinLibraryName), BindResult::Ready);
    EXPECT_TRUE(binding.Ready());
    EXPECT_EQ(standin::GetStats().init, 1);
}

TEST_F(BindingTest, ReportsEveryWayOfFailing) {
    struct Case {
        const char* library;
        int initResult;
        BindResult expected;
    };
    const Case cases[] = {
        {"libOndrelNowhere.so", 1, BindResult::NoLibrary},
        {"libm.so.6", 1, BindResult::MissingExport}, // a library without the twelve exports
        {standin::kStandinLibraryName, 0, BindResult::InitFailed},
        {standin::kStandinLibraryName, -3, BindResult::InitFailed},
    };
    for (const auto& c : cases) {
        standin::SetInitResult(c.initResult);
        ServiceBinding binding;
        EXPECT_EQ(binding.Load(c.library), c.expected) << c.library << " " << c.initResult;
        EXPECT_FALSE(binding.Ready());
    }
}

TEST_F(BindingTest, AChannelWithoutAServiceSendsNothingAndFindsNoKeyboard) {
    ServiceBinding unbound;
    RequestChannel channel(unbound);
    FakeClock clock;
    CommandProtocol protocol(channel, clock);
    channel.Open();
    EXPECT_EQ(channel.QueryDeviceCount(), 0);
    EXPECT_EQ(BeginConfig(protocol), 0);
}

TEST_F(BindingTest, TheServiceRefusesAWrongCheckValue) {
    ServiceBinding binding;
    ASSERT_EQ(binding.Load(standin::kStandinLibraryName), BindResult::Ready);
    const auto& ondrel = binding.Exports();
    std::uint8_t report[ONDREL_REPORT_SIZE] = {0x04};
    const std::uint32_t check = OndrelCheckValue(ONDREL_ID_CONTROL, nullptr, 0, report, 64);
    EXPECT_EQ(ondrel.RequestWriteOne(ONDREL_ID_CONTROL, nullptr, 0, report, 64, check + 1, nullptr),
              ONDREL_ERROR_CHECK);
    EXPECT_EQ(ondrel.RequestGetDeviceCount(ONDREL_ID_CONTROL, nullptr, 0, check, nullptr),
              ONDREL_ERROR_CHECK);
    standin::WaitIdle();
    EXPECT_EQ(standin::Keyboard().ReportsReceived(), 0u);
    EXPECT_EQ(standin::GetStats().checkFailures, 2);
}

using OpenedLink = testing::StandinTest;

TEST_F(OpenedLink, RegistersEventsAndRepliesWithValidCheckValues) {
    const auto stats = standin::GetStats();
    EXPECT_EQ(stats.asyncRead, 2);
    EXPECT_EQ(stats.registrations, 2);
    EXPECT_EQ(stats.checkFailures, 0);
    EXPECT_EQ(link.channel.QueryDeviceCount(), 1);
    EXPECT_EQ(link.channel.BankBuffer(), (std::array<std::uint8_t, 2>{0x05, 0x02}));
}

TEST_F(OpenedLink, ClosingTheChannelCancelsItsRequests) {
    {
        RequestChannel other(link.service);
        other.Open();
        EXPECT_EQ(standin::GetStats().registrations, 4);
    }
    EXPECT_EQ(standin::GetStats().registrations, 2);
}

} // namespace
} // namespace kovrel::device
