// The simulated RFID desk reader: the card held on it goes to a file that the simulator's mi
// library reads as block 10.
#pragma once

#include <QByteArray>
#include <QString>

namespace devsim {

class RfidCardFile {
public:
    /// path empty: $MIREL_DEVSIM_RFID or /tmp/mirel-devsim-rfid, as the library reads it.
    explicit RfidCardFile(QString path = QString());
    QString path() const { return m_path; }
    /// Holds a card with these bytes on the reader (cut or zero-padded to the 16 of a block).
    bool present(const QByteArray& block);
    /// Takes the card away: reads fail until the next one.
    void remove();

private:
    QString m_path;
};

/// The command "card TEXT" (the text's UTF-8 bytes), "hex 30 30 31 32 ..." or "remove"; false for
/// anything else.
bool rfidCommand(RfidCardFile& file, const QString& line);

/// --device rfid: prints "RFID <card file>" and takes the commands above (and "quit") from stdin.
/// The card is taken away when the simulator ends.
int runRfidReader();

} // namespace devsim
