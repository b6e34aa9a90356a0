#include "platform/Tick.h"
#include "platform/screen/Display.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform::detail {

namespace {

// No window: presenting shows nothing, and the only events are wake-ups.
class HeadlessDisplay final : public Display {
public:
    explicit HeadlessDisplay(Size size)
        : size_(size)
    {
    }

    bool shows() const override { return false; }
    bool poll(DisplayEvent&) override { return false; }
    void present(const Bitmap&) override { }
    void set_cursor(SystemCursor) override { }
    Size size() const override { return size_; }

    void wait(std::optional<std::uint32_t> timeout) override
    {
        std::unique_lock lock(mutex_);
        if (timeout)
            woken_.wait_for(lock, std::chrono::milliseconds(real_milliseconds(*timeout)),
                [this] { return awake_; });
        else
            woken_.wait(lock, [this] { return awake_; });
        awake_ = false;
    }

    void wake() override
    {
        {
            std::lock_guard lock(mutex_);
            awake_ = true;
        }
        woken_.notify_all();
    }

private:
    Size size_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool awake_ { false };
};

} // namespace

std::unique_ptr<Display> make_headless_display(Size size)
{
    return std::make_unique<HeadlessDisplay>(size);
}

} // namespace platform::detail
