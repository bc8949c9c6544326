// Zero and high-point calibration.
#include "settings_fixture.h"

namespace {

using Command = ScriptedBoard::Command;

const char* const Warning = "无通讯，请检查电源、通讯线路、及波特率设置!";
const std::string ZeroMessage =
    "请清除秤台上无关物品，保持秤处于水平状态，保证当前场所无风吹、振动等外界因素干扰，确定后请点【确定】按钮。";

std::string HighMessage(const std::string& weight) {
    return "请加载重量为[" + weight +
           "kg]的码砝或物品至秤台中央，保持秤处于水平状态，保证当前场所无风吹、振动等外界因素干扰，确定后请点【确定】"
           "按钮。";
}

void ExpectPlainBox(const headless::BoxRecord& box) {
    EXPECT_EQ(box.caption, "信息：");
    EXPECT_EQ(box.icon, platform::Icon::None);
    EXPECT_EQ(box.buttons, platform::Buttons::Ok);
}

TEST_F(SettingsTest, ZeroCalibrationAsksFirstThenSendsSevenZeros) {
    startOpen();
    size_t mark = board.mark();
    click("CalZeroButton");
    const headless::BoxRecord* box = session->openBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, ZeroMessage);
    ExpectPlainBox(*box);
    EXPECT_TRUE(nonPollCommandsSince(mark).empty()) << "nothing goes out before the answer";

    mark = board.mark();
    int64_t t = now();
    session->answer(platform::Answer::Ok);
    EXPECT_EQ(board.commandsSince(mark), (std::vector<Command>{
                                             {t + ms(200), 9600, "CAL0000000"},
                                             {t + ms(300), 9600, "P0"},
                                         }));
    EXPECT_EQ(text("StatusLabel"), Warning);
    EXPECT_EQ(tool->StatusTicks, -1);
    EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 200);
}

struct HighPoint {
    const char* entry;
    int decimals;  // position in DecimalsCombo
    int capacity;  // position in CapacityCombo
    const char* weight;
    const char* digits;
};

TEST_F(SettingsTest, HighPointWeightIsCutToTheDecimalsAndLimitedToTheCapacity) {
    const HighPoint cases[] = {
        {"15", 3, 3, "15.000", "0015000"},
        {"15.5", 3, 3, "15.500", "0015500"},
        {"15.678", 2, 3, "15.67", "0001567"},      // cut, never rounded
        {"2999.99", 2, 7, "2999.99", "0299999"},
        {"15.7", 0, 3, "15", "0000015"},
        {"", 3, 3, "0.000", "0000000"},
        {"50", 3, 3, "30.000", "0030000"},          // above the capacity 30.000
        {"30", 3, 3, "30.000", "0030000"},          // equal passes
        {"30.0004", 3, 3, "30.000", "0030000"},     // cut to 30.000 first
        {"3000", 0, 0, "3000", "0003000"},
        {"1.23456", 4, 2, "1.2345", "0012345"},
        {"007.5", 1, 3, "7.5", "0000075"},
        {".5", 2, 3, "0.50", "0000050"},
        {"abc", 3, 3, "0.000", "0000000"},
        {"-0", 3, 3, "0.000", "0000000"},
    };
    for (const HighPoint& c : cases) {
        SCOPED_TRACE(std::string("entry \"") + c.entry + "\", decimals " + std::to_string(c.decimals));
        startOpen();
        pick("DecimalsCombo", c.decimals);
        pick("CapacityCombo", c.capacity);
        session->paste("MainWindow", "CalWeightEdit", c.entry);
        size_t mark = board.mark();
        click("CalHighButton");

        const headless::BoxRecord* box = session->openBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, HighMessage(c.weight));
        ExpectPlainBox(*box);
        EXPECT_EQ(text("CalWeightEdit"), c.weight);
        EXPECT_TRUE(nonPollCommandsSince(mark).empty());

        mark = board.mark();
        int64_t t = now();
        session->answer(platform::Answer::Ok);
        EXPECT_EQ(board.commandsSince(mark), (std::vector<Command>{
                                                 {t + ms(10), 9600, std::string("CAL") + c.digits},
                                                 {t + ms(110), 9600, "P0"},
                                             }));
        EXPECT_EQ(text("StatusLabel"), Warning);
        EXPECT_EQ(tool->StatusTicks, -1);
        session.reset();
    }
}

TEST_F(SettingsTest, ChangedDecimalPlacesChangeTheNextCalibrationWeight) {
    startOpen();
    session->paste("MainWindow", "CalWeightEdit", "");
    session->type("MainWindow", "CalWeightEdit", "15.5kg");         // only 0-9 . - are taken
    ASSERT_EQ(text("CalWeightEdit"), "15.5");
    for (auto [decimals, weight] : {std::pair{2, "15.50"}, std::pair{0, "15"}, std::pair{3, "15.000"}}) {
        pick("DecimalsCombo", decimals);
        click("CalHighButton");
        EXPECT_EQ(answerBox().text, HighMessage(weight));
        EXPECT_EQ(text("CalWeightEdit"), weight);
    }
}

struct Refused {
    const char* entry;
    const char* unselect;  // list left without a selection, or empty
    const char* message;
};

TEST_F(SettingsTest, HighPointWithoutAFormSendsNothing) {
    const Refused cases[] = {
        {"-5", "", "高点标定值不能为负数，请重新输入！"},
        {"-0.001", "", "高点标定值不能为负数，请重新输入！"},
        {"15", "CapacityCombo", "请先选择最大称量，再标定高点！"},
        {"15", "DecimalsCombo", "请先选择小数点位置，再标定高点！"},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(std::string(c.entry) + " " + c.unselect);
        startOpen();
        if (*c.unselect) session->onProgramThread([&] { combo(c.unselect).select(-1); });
        session->paste("MainWindow", "CalWeightEdit", c.entry);
        size_t mark = board.mark();
        click("CalHighButton");
        headless::BoxRecord box = answerBox();
        EXPECT_EQ(box.text, c.message);
        ExpectPlainBox(box);
        EXPECT_EQ(session->openBox(), nullptr);
        session->advance(1000);
        EXPECT_TRUE(nonPollCommandsSince(mark).empty());
        EXPECT_EQ(text("CalWeightEdit"), c.entry);
        EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 200);
        session.reset();
    }
}

}  // namespace
