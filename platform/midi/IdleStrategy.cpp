#include "platform/midi/IdleStrategy.h"

namespace platform::midi {

IdleStrategy::Rest IdleStrategy::forServer(std::string_view serverName)
{
    return serverName.find("PipeWire") != std::string_view::npos ? Rest::Cork : Rest::Remove;
}

void IdleStrategy::proved(ServerStream& stream) const
{
    if (rest_ == Rest::Remove)
        stream.remove();
}

bool IdleStrategy::start(ServerStream& stream) const
{
    if (rest_ == Rest::Remove)
        return stream.create(false);
    stream.setCorked(false);
    return true;
}

void IdleStrategy::stop(ServerStream& stream) const
{
    if (rest_ == Rest::Remove)
        stream.remove();
    else
        stream.setCorked(true);
}

} // namespace platform::midi
