// The root of the component classes, and the event types shared by every layer.
#pragma once

#include <functional>

// The common root, so that an event can name its sender whatever its class.
class TObject {
 public:
  virtual ~TObject() = default;
};

// An event that only says who sent it.
using TNotifyEvent = std::function<void(TObject* Sender)>;
