// The picture browser's controls by name: the item fields (txtUser) keyed by the numbers the
// mill's caption settings use for them, and the command row (butFlow) by its place.
#pragma once

namespace ThumbsField {
enum Index : int {
    Name = 0,        // 商品名称
    Code = 1,        // 商品编码
    Spec = 3,        // 规格
    Remark = 9,      // 备注
    EnglishName = 11, // 英文名
    Barcode = 17,    // 条形码
    Pinyin = 18,     // 助记码
    Composition = 20, // 成分
    GramWeight = 21, // 克重
    Width = 41,      // 门幅
    Spare4 = 42,
    Spare5 = 43,
    Spare6 = 44
};
}

namespace ThumbsCmd {
enum Index : int {
    Previous = 0, // 前个
    Next = 1,     // 后个
    Print = 2,    // 打印
    Template = 3  // ↓ the label template
};
}
