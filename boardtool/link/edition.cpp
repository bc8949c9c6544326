#include "edition.h"

namespace boardtool {

namespace {
const std::vector<const char*> RovanProtocols = {
    "顶尖OS2X_连续式", "大华RS232-1 连续式", "大华RS232-2 TZQ指令 连续式",
    "大华RS232-3 应答式", "迪宝G100/G310 连续式", "Rovan 应答式",
};
const std::vector<const char*> SelmarProtocols = {
    "顶尖OS2X_连续式",   "大华RS232-1 连续式", "大华RS232-2 连续式",
    "大华RS232-3 应答式", "迪宝G100/G310 连续式", "Selmar  连续式",
    "友声  连续式",       "即插即用  稳定即传一次式", "即插即用  需回零稳定即传一次式",
};
}  // namespace

void FillProtocolList(BoardTool& tool, ProtocolList list) {
    for (int pos = 19; pos >= 0; --pos) tool.ProtocolCombo.deleteItem(pos);
    const std::vector<const char*>& texts = list == ProtocolList::Rovan ? RovanProtocols : SelmarProtocols;
    size_t count = list == ProtocolList::SelmarAtStart ? 7 : texts.size();
    for (size_t i = 0; i < count; ++i) tool.ProtocolCombo.addItem(texts[i], static_cast<int32_t>(i));
}

}  // namespace boardtool
