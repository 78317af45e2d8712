#pragma once
// TPersistent: objects that can copy their state from another with Assign.
#include <functional>

#include "platform/rtl/Object.h"

class TPersistent;

// The class library's plain event: the sender is the object that raises it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
 public:
  // Copies Source into this object. The default asks Source to AssignTo this;
  // when neither side knows the other, raises EConvertError
  // "Cannot assign a <source class> to a <this class>".
  virtual void Assign(TPersistent* Source);

  // The object that owns this one in the class library's sense (a collection
  // item's collection, a component's owner); nullptr for a plain persistent.
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent* Dest);

 private:
  [[noreturn]] void AssignError(TPersistent* Source);
};
