#include "sim/SimFault.h"

QByteArray SimFault::apply(const QByteArray &answer) const {
    QByteArray out = answer;
    if (!reply.isEmpty())
        out = reply.toLatin1() + "\r\n";
    if (!errorCode.isEmpty())
        out = "0%%" + errorCode.toLatin1() + "\r\n";
    if (!prefix.isEmpty())
        out = prefix.toLatin1().left(3) + out.mid(3);
    if (overwriteAt >= 0 && overwriteAt < out.size())
        out.replace(overwriteAt, qMin(overwrite.size(), out.size() - overwriteAt), overwrite);
    if (lengthDelta != 0 && out.endsWith("\r\n")) {
        QByteArray body = out.chopped(2);
        if (lengthDelta > 0)
            body += QByteArray(lengthDelta, '0');
        else
            body.chop(qMin<qsizetype>(-lengthDelta, body.size()));
        out = body + "\r\n";
    }
    return out + trailing;
}
