#pragma once
// Components in the manner the programs are built from: a QObject owned by its
// parent and freed with it, events as callables that take the sender.
#include <QObject>

#include <functional>

namespace platform {

using TObject = QObject;

class TComponent : public QObject {
    Q_OBJECT
public:
    explicit TComponent(QObject* owner = nullptr) : QObject(owner) {}
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// Raises an event if a handler is assigned.
template <typename Event, typename... Args>
void Raise(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}

} // namespace platform
