// When a weight on the scale counts: a box still swinging on the platform reads heavier or
// lighter by whatever the swing adds, and a weight read then is a wrong bill. The scale's own
// word (stable, moving, over range) wins; where it says nothing, the last readings must agree.
#pragma once

#include "devices/ScaleFlags.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace devices {

/// The keys "StableReadings", "StableTolerance" (kg), "StableTime" (ms) and "ZeroBand" (kg).
struct SettlingSettings {
    /// Readings that must agree; 0 takes every reading at once, as stations did before (the
    /// scale's own flags still count).
    int readings = 4;
    double tolerance = 0.02;
    int timeMs = 600;
    double zeroBand = 0.05;

    /// From section "MIREL" or "打包" of mirel.ini; a key that is not a number keeps its default.
    static SettlingSettings read(const QString& section);
};

/// What the weight on the scale is, as the weight field shows it.
enum class WeightLook {
    None,       ///< no reading yet (or the scale went quiet)
    Moving,     ///< shown grey with "称重中…"
    Settled,    ///< shown black
    Empty,      ///< settled at or below the zero band: "空秤"
    Negative,   ///< settled below zero: "皮重错误，请去皮或归零"
    OverRange,  ///< the scale is over its range
    UnderRange, ///< the scale is under its range
};

/// What a save does with the weight (保存/F8).
struct SaveDecision {
    enum Kind {
        Take,   ///< save weight
        Wait,   ///< ask again on the next reading (at most kSaveWaitMs after the key)
        Refuse, ///< nothing saved; message says why
    };
    Kind kind = Refuse;
    double weight = 0;
    QString message;
};

class WeightSettling {
public:
    /// Milliseconds from any fixed start; tests pass their own.
    using Clock = std::function<qint64()>;
    /// How long a save waits for a moving weight to settle.
    static constexpr qint64 kSaveWaitMs = 3000;

    /// A monotonic clock started now (never the wall clock, which the operator may set).
    static Clock steadyClock();

    WeightSettling(SettlingSettings settings, Clock clock);
    void setSettings(const SettlingSettings& settings) { m_settings = settings; }
    const SettlingSettings& settings() const { return m_settings; }
    /// The time on the clock the readings are stamped with (for decideSave's pressedAt).
    qint64 now() const { return m_clock(); }

    /// One whole reading, at the clock's time now.
    void add(const ScaleReading& reading);
    /// The line was lost, the scale went quiet or was switched off: no reading counts any more.
    void reset();

    WeightLook look() const { return m_look; }
    /// The newest weight the scale sent (shown, settled or not).
    std::optional<double> latest() const;
    /// The weight a save may take: set while look() is Settled.
    std::optional<double> settled() const
    {
        return m_look == WeightLook::Settled ? m_settled : std::nullopt;
    }
    /// The operator's texts for the looks that keep a save from taking the weight.
    static QString message(WeightLook look);

    /// 保存 pressed at pressedAt (the clock's time): take the settled weight, wait, or refuse.
    /// A weight typed by the operator (typed) is theirs and is taken as typed.
    SaveDecision decideSave(qint64 pressedAt, std::optional<double> typed = std::nullopt) const;
    /// A box was saved with weight: the next box counts only after the scale has gone back to
    /// empty or the weight has changed by more than ten times the tolerance.
    void saved(double weight);
    /// False from a save until the scale has been emptied or the weight changed.
    bool armed() const { return m_armed; }

private:
    struct Timed {
        double weight;
        qint64 at;
    };
    void judge(const ScaleReading& reading);
    bool runHolds() const;
    void settle(double weight);

    SettlingSettings m_settings;
    Clock m_clock;
    QList<Timed> m_recent; ///< unflagged readings since the last flagged one, newest last
    std::optional<double> m_latest, m_settled, m_savedWeight;
    WeightLook m_look = WeightLook::None;
    bool m_armed = true;
};

} // namespace devices
