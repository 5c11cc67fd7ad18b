#include "data/RangeCheck.h"

#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/QvData.h"
#include "data/QvItems.h"

namespace RangeCheck {

QString outOfRangeList(const QvData &d, bool parametersActive) {
    return groupedItemList([&d](const QvItem &item) { return !item.inRange(d); }, parametersActive);
}

namespace {} // namespace

QString message(const QvData &data, bool parametersActive) {
    const QString list = outOfRangeList(data, parametersActive);
    if (list.isEmpty())
        return {};
    return ResText(244) + CrLf + ResText(245) + CrLf + list;
}

bool Check_DataRange(const QvData &data, bool parametersActive, UserPrompt &prompt) {
    const QString text = message(data, parametersActive);
    if (text.isEmpty())
        return true;
    prompt.MsgBox(text, MsgButtons::OkOnly, MsgIcon::None);
    return false;
}

} // namespace RangeCheck
