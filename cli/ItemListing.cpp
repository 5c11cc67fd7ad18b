#include "cli/ItemListing.h"

#include "base/ResText.h"
#include "data/QvData.h"
#include "data/QvItems.h"

QString itemListing(const QvData &d) {
    QString text;
    for (const QvItem &item : QvItems) {
        text += ResText(groupHeadingId(item.group)) + u'\t' + ResText(item.labelId) + u'\t' +
                QString::number(item.get(d)) + u'\n';
    }
    return text;
}
