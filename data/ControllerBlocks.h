#pragma once

#include "data/QvData.h"

#include <QString>
#include <array>

class UserPrompt;

// The controller keeps the settings in numbered blocks of eight bytes, written on the wire as
// upper-case hexadecimal text. These functions turn the working copy into the texts of the write
// commands and the replies of the read commands back into the read copy.
namespace ControllerBlocks {

// Block numbers in the order they are written ("0WD") and read ("0RD").
inline constexpr std::array<const char *, 7> WriteOrder = {"02", "04", "05", "00",
                                                           "01", "03", "1F"};
inline constexpr std::array<const char *, 5> ReadOrder = {"02", "04", "05", "00", "01"};

// Positions of the parameter blocks "00" and "01" in WriteOrder: sent only while the parameters
// take part.
inline constexpr int HomingRow = 3;
inline constexpr int SensorRow = 4;

// Write data of one block each: block number + 16 content characters (18 characters).
using WriteBlocks = std::array<QString, 7>;
// Whole read replies, CR LF included: "0RD" + block number + 16 content characters + CR LF.
using ReadReplies = std::array<QString, 5>;

} // namespace ControllerBlocks

// Value in upper-case hexadecimal, zero-padded on the left to width characters; "X" when it does
// not fit. A negative value is taken as its 32-bit two's complement.
QString HexField(qint32 value, qint16 width);

// Builds the write blocks from the working copy into blocks, in WriteOrder. The parameter blocks
// are built only while parametersActive; otherwise those entries are left as they were. Returns 0
// when built; 1 when a velocity step is too large to be multiplied by 4 (message 248/249 shown;
// entries built so far stay).
qint16 SetData2PSDA(const QvData &working, bool parametersActive,
                    ControllerBlocks::WriteBlocks &blocks, UserPrompt &prompt);

// Decodes the five read replies (ReadOrder) into all 22 items of the read copy. Returns 0 when
// decoded; 1 when a field it takes (a byte or a pulse count) holds a character that is not
// hexadecimal or lies beyond the reply: then the read copy is untouched and nothing has been
// shown, the caller reports the read as failed.
qint16 Extract2temp(const ControllerBlocks::ReadReplies &replies, QvData &read);
