#pragma once
// The tray status as workers set it: decides which status icon the tray shows and hands each
// change to the tray icon on the interface thread, in the order the changes were decided.
//
// activity 1 shows the activity icon 142 without remembering it; activity 0 with a non-zero
// icon shows that icon and remembers it; activity 0 with icon 0 shows the remembered icon (128
// until another is remembered). The tray is told only when the icon to show differs from the one
// shown now.

#include "platform/tray_status.h"

#include <QObject>

#include <mutex>

namespace kovrel::app {

inline constexpr int kTrayIconProgram = 128;
inline constexpr int kTrayIconActive = 142;

// The tray icon's side; called on the interface thread.
class TrayIconSink {
public:
    virtual ~TrayIconSink() = default;
    virtual void ShowStatusIcon(int iconId) = 0;
};

class TrayStatusRelay final : public QObject, public platform::TrayStatus {
    Q_OBJECT
public:
    // Created on the interface thread.
    explicit TrayStatusRelay(QObject* parent = nullptr);

    // The tray icon registers itself once it exists, and unregisters (nullptr) before it goes
    // away; interface thread.
    void SetSink(TrayIconSink* sink);

    // The icon the tray shows now, as the main window sets it without a status change: 128 when
    // it adds the tray icon, 0 when it removes it. Any thread.
    void SetCurrentIcon(int iconId);
    int CurrentIcon() const;
    int RememberedIcon() const;

    // Any thread.
    void SetTrayStatus(int activity, int icon) override;

private:
    void Forward(int iconId);

    TrayIconSink* sink_ = nullptr; // interface thread

    mutable std::mutex mutex_;
    int current_ = 0;
    int remembered_ = kTrayIconProgram;
};

} // namespace kovrel::app
