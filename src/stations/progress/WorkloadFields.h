// The controls of the progress window by name. The numbers are the indexes the station's control
// lists have always had (TxtBox_6, LabBox_14 ...: the object names and the keypads' tooltips
// carry them), so they never change; code names a control only through these constants.
#pragma once

/// The text fields (TxtBox): the entry page and the list page's filters.
namespace WorkloadField {
enum Index : int {
    Card = 0,       // 卡号
    Worker = 1,     // 工号/班组
    Metres = 2,     // 米数
    Remark = 3,     // 备注, takes the worker's shift
    ListCard = 4,   // 进度列表: 卡号
    ListWorker = 5, // 进度列表: 工号
    Pieces = 6,     // 匹数
    Count = 7
};
}

/// The labels (LabBox): device captions, the message line, field captions, the worker's name.
namespace WorkloadLabel {
enum Index : int {
    Scanner = 0,  // 扫描枪: its colour is the scanner port's state
    Message = 1,  // prompts, the card's status and refusals
    Reader = 2,   // RFID: its colour is the desk reader's state
    Card = 3,
    Worker = 4,
    Metres = 5,
    Pieces = 6,
    Remark = 7,
    Date = 8,     // 操作 时间
    Period = 9,   // 时间区间 (list page)
    ListCard = 10,
    ListWorker = 11,
    WorkerName = 14,
    Count = 16
};
}

/// The card information lines (labInfo).
namespace WorkloadInfo {
enum Index : int {
    Customer = 0, // 客户 订单号 交期
    Work = 1,     // 加工方式 备注
    Count = 2
};
}

/// The keypad buttons beside the fields (numKeybtn).
namespace WorkloadKey {
enum Index : int { Card = 0, Worker = 1, Metres = 2, Pieces = 3, Count = 4 };
}

/// The list page's period (DTdate) and its two buttons (SearchWLBtn).
namespace WorkloadList {
enum Date : int { From = 0, To = 1 };
enum Command : int { Query = 0, Delete = 1 };
}
