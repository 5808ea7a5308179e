// The progress window's inputs besides its buttons: the serial scanner, the RFID worker card on
// the desk reader (by the button or polled every second), and the keypads beside the fields.
#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

class RfidReaderLibrary;
class frmWorkload;

class WorkloadDevicePanel : public QObject {
    Q_OBJECT
public:
    explicit WorkloadDevicePanel(frmWorkload* form);
    ~WorkloadDevicePanel() override;

    void openScannerPort();
    /// "RFID": reads the card on the reader and takes its worker.
    void readWorkerCard();
    /// The 1000 ms tick while "RFID" is shown: a card is taken once while it lies on the reader.
    void pollReader();
    bool loadPresetKeypad(const QString& key);
    void showPresetKeypad(int field);
    void showNumberKeypad(int field, bool selectAll);
    RfidReaderLibrary& reader() { return *m_reader; }

private:
    void wire();
    void onScanned(const QString& text);
    bool readCardOnReader(QByteArray* block);
    /// A worker card's block: the worker it stands for, or the step its text names.
    void takeWorkerCard(const QByteArray& block);

    frmWorkload* m_form;
    std::unique_ptr<RfidReaderLibrary> m_reader;
    bool m_readerTried = false;
    QByteArray m_cardOnReader; ///< the block of the card lying on the reader, read already
};
