// The controls of the inspection family's form by name. The numbers are the indexes the mill's
// stored layouts ("InputPosition"), required-field lists ("requireTxtbox"), preset lists
// ("CheckFill") and caption keys carry (TxtBox_18, LabBox_12 ...), so they never change; code
// names a control only through these constants.
#pragma once

/// The text fields (TxtBox) of the roll form, the card box, the label tab and the list filter.
namespace CheckField {
enum Index : int {
    Worker = 0,      // 工号
    LabelCount = 1,  // 标签数量 (label tab, variable labels)
    PieceLength = 2, // 每支长度 (label tab, fixed length)
    DyeLot = 3,      // 缸号
    GramWeight = 4,  // 克重
    Style = 5,       // 款号 (箱数 at the mark-label station)
    Card = 6,        // 卡号
    Quantity = 7,    // 数量
    ListCard = 8,    // roll list filter: card
    ListColor = 9,
    ListDyeLot = 10,
    ListRoll = 11,
    ListRemark = 12,
    ListWorker = 13,
    Weight = 14,     // 重量
    PlusMinus = 15,  // 加减
    Spare3 = 16,     // 备3
    Spare4 = 17,     // 备4
    RollNumber = 18, // 卷号
    Factor = 19,     // 系数
    Spare5 = 20,     // 备5
    Spare6 = 21,     // 备6
    ItemName = 22,   // 品名
    Color = 23,      // 颜色
    SpareA = 24,     // 备A
    SpareB = 25,     // 备B
    SpareC = 26,     // 备C
    SpareD = 27,     // 备D
    Pallet = 28,     // 板号 (mark-label station)
    Count = 29
};
}

/// The labels (LabBox): field captions, the status line, the worker's name and the sensors.
namespace CheckLabel {
enum Index : int {
    Status = 0,
    Worker = 1,
    WorkerName = 2,
    DyeLot = 3,
    GramWeight = 4,
    Style = 5,
    Card = 9,
    Quantity = 10,
    Grade = 11,
    RollNumber = 12,
    Remark = 13,
    CounterSensor = 16,
    Weight = 19,
    PlusMinus = 20,
    Spare3 = 21,
    Spare4 = 22,
    Factor = 23,
    Spare5 = 24,
    Spare6 = 25,
    ScaleSensor = 26,
    ItemName = 27,
    Color = 28,
    SpareA = 29,
    SpareB = 30,
    SpareC = 31,
    SpareD = 32,
    Pallet = 33,
    Count = 34
};
}

/// The data lines (labInfo) above the roll form.
namespace CheckInfo {
enum Index : int {
    Totals = 0,   // 送检数量 … 匹数: the card line's totals
    Unused = 1,   // kept hidden: stored layouts still name it
    Article = 2,  // the card line's article and colour
    Customer = 3, // 客户 订单号 交期
};
} // namespace CheckInfo

/// The commands (checkCommand) and the pseudo commands the window sends its panels.
namespace CheckCmd {
enum Index : int {
    FindCard = 0,      // Enter in the card box
    NewRoll = 1,       // 换卷
    Save = 2,          // 保存
    DeleteDefect = 3,  // 删疵点
    PrintLabel = 4,    // 打印标签 (F5)
    PreviousRoll = 5,  // 上卷
    NextRoll = 6,      // 下卷
    ChooseTemplate = 7, // ▼
    LatestCard = 8,
    DeleteRoll = 9,    // 删除
    QueryList = 10,    // 查 (roll list)
    PrintMark = 11,    // 打印唛头
    PreviousCard = 12,
    NextCard = 13,
    Mes = 14,          // MES mode only
    Recompute = 15,    // deductions and grade, run by code
    DeleteListed = 16, // 删 (roll list)
    Count = 17,
    // Not buttons: what the window tells its panels.
    VariableLabels = -1, // the label tab's variable-count option was focused
    FixedLength = -2,    // the label tab's fixed-length option was focused
    DefectFrameResized = -5
};
}

/// The keypad buttons beside the fields (numKeybtn), by the field they type into.
namespace CheckKey {
enum Index : int {
    Worker = 1,
    Quantity = 2,
    DyeLot = 5,
    GramWeight = 6,
    Style = 7,
    Weight = 13,
    PlusMinus = 14,
    Spare3 = 15,
    Spare4 = 16,
    RollNumber = 17,
    Factor = 18,
    Spare5 = 19,
    Spare6 = 20,
    SpareA = 23,
    SpareC = 24,
    SpareB = 25,
    SpareD = 26,
    Pallet = 27 // the mark-label station's 板号
};
}
