#pragma once

namespace skinner {

// The menu-bar templates of the program's resources, five per variant: a
// live form's bar holds one, so at most five forms of one variant have a
// bar at a time. Taking from an empty pool is a broken rule ("Add more
// tolbar ids to the resource file! :)").
class MenuIdPool {
public:
    // The pools of the command-bar templates (117 to 121) and of the
    // soft-key templates (1117 to 1121).
    static MenuIdPool& command_bar();
    static MenuIdPool& soft_keys();

    int take();
    void give_back(int id);
    int available() const;

private:
    explicit MenuIdPool(int first);

    int first_;
    // Bit n set: template first_ + n is free.
    unsigned free_;
};

} // namespace skinner
