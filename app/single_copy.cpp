#include "app/single_copy.h"

#include <memory>

#include "platform/single_copy_lock.h"

namespace {

std::unique_ptr<RaiseChannel>& Channel() {
    static std::unique_ptr<RaiseChannel> channel;
    return channel;
}

}  // namespace

void ListenForRaiseRequests(const std::string& dataFolder) { Channel() = std::make_unique<RaiseChannel>(dataFolder); }

bool TakeRaiseRequest() { return Channel() && Channel()->TakeRequest(); }

bool AskToRaise(const std::string& dataFolder) { return RaiseChannel::Ask(dataFolder); }
