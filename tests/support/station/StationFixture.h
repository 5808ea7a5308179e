// A program folder for one station's window: config.ini naming the embedded database of the
// folder (or a database file of its own), the program's connection opened on it, rows put in,
// and the window opened as the station opens it, at 1024 x 768. Each station's fixture derives
// from it and adds its own rows and what its operators do.
#pragma once

#include "support/TempProgramFolder.h"

#include <QString>
#include <initializer_list>
#include <memory>

class QWidget;

class StationFolder {
public:
    StationFolder(const StationFolder&) = delete;
    StationFolder& operator=(const StationFolder&) = delete;

    TempProgramFolder& home() { return m_home; }
    /// Runs SQL on the program's connection; returns the first column of the first row ("" when
    /// there is none).
    QString scalar(const QString& sql);
    void exec(const QString& sql);
    /// Runs SQL on a database file of the folder with SQLite itself (triggers that make the
    /// program's statements fail, which its own dialect would not write); mirel.db unless named.
    void execNative(const QString& sql, const QString& file = QString());

protected:
    /// The message boxes' record and answers and the dictionary cache are cleared.
    StationFolder();
    /// The program's connection is closed; a day the test fixed on the clock goes with it.
    ~StationFolder();
    /// config.ini names the folder's embedded database, or databaseFile when given.
    void useDatabase(const QString& databaseFile = QString());
    /// Opens the program's connection (making the embedded database) and inserts rows.
    void seed(std::initializer_list<const char*> rows);
    /// The panels' style as the station installs it, then the window sized like a small panel.
    static void prepare(QWidget& window);

    TempProgramFolder m_home;
};

template <class Form>
class StationFixture : public StationFolder {
public:
    Form& form() { return *m_form; }
    /// Opens a fresh window of the station, or of a variant (a class derived from the station's).
    template <class Variant = Form>
    Variant& open() { return static_cast<Variant&>(load(std::make_unique<Variant>())); }

protected:
    StationFixture() = default;
    /// The window goes before the connection closes.
    ~StationFixture() { m_form.reset(); }
    /// The window of the station (or a variant's derived window), loaded.
    Form& load(std::unique_ptr<Form> window)
    {
        m_form = std::move(window);
        prepare(*m_form);
        m_form->Form_Load();
        return *m_form;
    }

    std::unique_ptr<Form> m_form;
};
