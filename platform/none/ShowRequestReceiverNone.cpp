#include "platform/ShowRequestReceiver.h"

namespace platform {
namespace {

// No way for a second copy to reach this one: nothing ever arrives.
class CShowRequestReceiverNone : public IShowRequestReceiver {
public:
    using IShowRequestReceiver::IShowRequestReceiver;
    void Watch(QWidget*) override {}
};

}  // namespace

std::unique_ptr<IShowRequestReceiver> CreateShowRequestReceiver(QObject* parent) {
    return std::make_unique<CShowRequestReceiverNone>(parent);
}

}  // namespace platform
