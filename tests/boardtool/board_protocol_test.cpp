// Commands on the wire and the cutting of received frames.
#include "link/board_protocol.h"
#include "link_fixture.h"

using boardtool::ClassifyFrame;
using boardtool::DecodeWeightText;
using boardtool::FrameKind;

namespace {

std::array<int32_t, 17> Frame(const std::string& first15) {
    std::array<int32_t, 17> f{};
    for (size_t i = 0; i < 15 && i < first15.size(); ++i) f[i] = static_cast<unsigned char>(first15[i]);
    f[15] = 13;
    f[16] = 10;
    return f;
}

TEST(BoardProtocol, SaveAndCalibrationCommands) {
    EXPECT_EQ(boardtool::SaveSettingsCommand({3, 2, 0, 2, 3, 3, 3}), "W0302000203030316");
    EXPECT_EQ(boardtool::SaveSettingsCommand({3, 3, 8, 4, 4, 7, 8}), "W0303080404070837");
    EXPECT_EQ(boardtool::SaveSettingsCommand({0, 0, 0, 0, 0, 0, 0}), "W0000000000000000");
    EXPECT_EQ(boardtool::CalibrationCommand("0015000"), "CAL0015000");
}

TEST(BoardProtocol, FrameKinds) {
    const std::pair<std::string, FrameKind> cases[] = {
        {"R\x01\x03", FrameKind::Settings},  {"+0123456VA", FrameKind::Version},
        {"-0123456YA", FrameKind::Version},  {"+0001.50kg", FrameKind::Weight},
        {"-000.000lb", FrameKind::Weight},   {"+0001.50vA", FrameKind::Weight},
        {"#0001.50kg", FrameKind::Other},    {"r1", FrameKind::Other},
        {std::string(15, '\0'), FrameKind::Other},
    };
    for (const auto& [bytes, kind] : cases) EXPECT_EQ(ClassifyFrame(Frame(bytes)), kind) << bytes;
}

TEST(BoardProtocol, WeightFieldDecoding) {
    const std::pair<const char*, const char*> cases[] = {
        {"+0001.50", "1.50"},   {"-000.000", "-0.000"}, {"+0000000", "0"},     {"+0012345", "12345"},
        {"-0000007", "-7"},     {"+1000000", "1000000"}, {"+0100.05", "100.05"}, {"+000000.", "0."},
        {"+0000.00", "0.00"},   {"+00 1.50", "-161.50"},
    };
    for (const auto& [field, text] : cases) EXPECT_EQ(DecodeWeightText(Frame(field)), text) << field;
}

TEST_F(LinkTest, CommandsGoOutInPiecesAndNotAtAllWhenClosed) {
    startAndOpen();
    device.writes.clear();
    session->onProgramThread([&] { boardtool::SendCommand(tool(), "W0302000203030316"); });
    std::vector<std::string> expected;
    for (char c : std::string("W0302000203030316")) expected.push_back(std::string(1, c));
    expected.push_back("\r");
    expected.push_back("\n");
    EXPECT_EQ(device.writes, expected);

    session->click("MainWindow", "OpenButton");  // close
    device.writes.clear();
    session->onProgramThread([&] { boardtool::SendCommand(tool(), "P0"); });
    EXPECT_TRUE(device.writes.empty());
}

}  // namespace
