// The controls of the card registration window by name: its pages, header lines and the board's
// settings it shows. Code names a control only through these constants.
#pragma once

/// The tab pages (SSTab1): what 保存 does on each.
namespace CardPage {
enum Index : int {
    Worker = 0,     // 员工卡: the card stands for a user
    Remove = 1,     // 删除卡: every binding of the card goes
    Production = 2, // 生产卡: the card stands for a production card
    Count = 3
};
}

/// The header lines (lab_info).
namespace RfidLine {
enum Index : int {
    Title = 0,  // RFID卡登记
    Status = 1, // what the desk did last
    Count = 2
};
}

/// The board's settings shown in the settings frame (txt_set), by their kanban.ini keys.
namespace RfidSetting {
enum Index : int {
    Board = 0,    // 库存看板
    Interval = 1, // 时间间隔
    FontSize = 2, // fontSize
    Sql = 3,      // 看板SQL
    Marquee = 4,  // 跑马灯内容
    Count = 5
};
}
