#pragma once

// What the read and write tests on the simulated controller share: the texts the user is asked
// and told, data that differ from the factory's in every block, and results as rows name them.
#include "TransferFixture.h"
#include "link/ControllerLink.h"

Q_DECLARE_METATYPE(QList<SimFault>)
Q_DECLARE_METATYPE(QList<MsgAnswer>)

inline const QString ReadFailed = QStringLiteral("通信エラー！(データの読み込み）");
inline const QString WriteFailed = QStringLiteral("データの書き込みに失敗しました。");
inline const QString WriteQuestion =
    QStringLiteral("データをコントローラーに転送します。よろしいですか？");
inline const QString RestartQuestion = QStringLiteral(
    "データの転送が完了しました。\r\nコントローラーをリセットします。よろしいですか？");
inline const QString Restarted = QStringLiteral("コントローラーをリセットしました。");
inline const QString WrongCommand =
    QStringLiteral("通信データエラー！\r\n通信データのコマンドに異常が検出されました");

inline QString errorMessage(const QString &code) {
    return QStringLiteral("エラーが発生しました！\r\n[") +
           ControllerLink::errorTextFor(QStringLiteral("0%%") + code) + QLatin1Char(']');
}

// Data that differ from the factory values in every block, so that each block written shows.
inline QvData editedData() {
    QvData d = factoryData();
    d.Vel1 = 30, d.Pulse1 = 1000, d.PauseTime1 = 7;
    d.Vel2 = 12, d.Pulse2 = 600, d.PauseTime2 = 9;
    d.HomingPulse = 600, d.RevDir = 1, d.RestartDelay = 50, d.Sp1 = 1;
    return d;
}

inline const QStringList WrittenAll{
    QStringLiteral("0WD027803020003E807FF"), QStringLiteral("0WD0478030200025809FF"),
    QStringLiteral("0WD0530030209FFFFFFFF"), QStringLiteral("0WD00080258060002FF01"),
    QStringLiteral("0WD010832C8640F1401FF"), QStringLiteral("0WD0330030207FFFFFFFF"),
    QStringLiteral("0WD1FFFFFFFFFFFFF55AA")};

// An operation's result as the rows name it: "done", "stopped", "busy" or "failed: <kind>".
inline QString described(const OpResult &result) {
    if (!result.isFailed())
        return QString::fromLatin1(toString(result.status));
    return QStringLiteral("failed: ") + QString::fromLatin1(toString(result.failure));
}
