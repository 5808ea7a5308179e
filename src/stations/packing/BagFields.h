// The controls of the packing table by name. The numbers are the indexes the mill's layouts and
// preset tags were made for (txtUser_44 carries the "工号" list), so they never change; code names
// a control only through these constants.
#pragma once

/// The mark fields (txtUser) of one roll; the indexes the table has no field for are empty.
namespace BagField {
enum Index : int {
    ItemName = 0,     // 商品名称
    ItemCode = 1,     // 商品编码
    Addend = 2,       // "+": added to the quantity when the mark is saved
    Spec = 3,         // 规格
    Remark = 9,       // 备注
    Quantity = 11,    // 数量 (the scale writes here when packing is off)
    ItemBarcode = 17, // 条形码
    Pinyin = 18,      // the item's pinyin, kept but not shown
    Composition = 20, // 成分
    GramWeight = 21,  // 克重
    Width = 41,       // 门幅
    Lot = 42,         // 批号
    Machine = 43,     // 机台 (preset list "备3")
    Inspector = 44,   // 检验 (preset list "工号")
    Count = 45
};
}

/// The box fields (bagNumber).
namespace BagBoxField {
enum Index : int { Number = 0, Weight = 1, Remark = 2, Count = 3 };
}

/// The command buttons (butFlow), as the function keys press them.
namespace BagCmd {
enum Index : int {
    NewBox = 0,        // 取 F5
    SaveMark = 1,      // 保存F3
    PrintMark = 2,     // 打印F4
    MarkTemplates = 3, // ↓ (唛头)
    AddRoll = 4,       // 加入 F7
    SaveBox = 5,       // 保存F8
    BoxTemplates = 6,  // ↓ (箱唛)
    PrintBox = 7,      // 打印F9
    RemoveRoll = 8,    // 删除
    ListBox = 9,       // 查 F6
    Count = 10
};
}

/// The columns of the box list (ximaGrid); row 0 is its header.
namespace BagColumn {
enum Index : int { Row = 0, Roll = 1, ItemName = 2, Spec = 3, Box = 4, Quantity = 5, Remark = 6, EarlierBox = 7 };
}
