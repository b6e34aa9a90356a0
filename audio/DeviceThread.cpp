#include "audio/DeviceThread.h"

#include "platform/MessageQueue.h"

namespace audio {

bool DeviceThread::start_thread()
{
    started_ = start();
    return started_;
}

bool DeviceThread::wait_until_ready(unsigned milliseconds)
{
    return ready_.wait_for(milliseconds);
}

bool DeviceThread::post(std::uint32_t message)
{
    if (!started_)
        return false;
    ready_.wait();
    return platform::post_thread_message(thread_id_.load(), message);
}

void DeviceThread::stop_thread(std::uint32_t message)
{
    if (is_running())
        post(message);
    join();
}

void DeviceThread::run()
{
    set_priority(1);
    platform::ensure_message_queue();
    thread_id_.store(platform::current_thread_id());
    ready_.set();

    platform::Message message;
    while (!stop_requested() && platform::get_message(message) == platform::GetResult::Message
        && !stop_requested())
        on_message(message);
    on_loop_end();
}

} // namespace audio
