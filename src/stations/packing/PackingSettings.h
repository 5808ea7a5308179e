// The packing table's options: section [打包] of mirel.ini (every key "0" by default) and the
// [MIREL] keys the table reads, each default written once. Read when the table loads; the rules
// and the window take their options from here, never from the file.
#pragma once

#include <QString>

using namespace Qt::StringLiterals;

struct PackingSettings {
    bool saveCheck = false; // isSaveCheck: 保存F3 on; after a lookup the caret goes to 数量
    bool markPrint = false; // 唛头打印: 打印F4 on
    QString packing = u"0"_s; // 是否要打包 as written
    // The check boxes' first states.
    bool isChen = false;                             // 接入台秤
    bool autoAdd = false;                            // 自动加入细码
    bool maitouAutoPrint = false;                    // 唛头自动打印
    bool pdaAutoPrint = false;                       // 箱唛自动打印 (drains the print pool)
    bool autoClear = false;                          // 唛头保存清空
    bool autoSave = false;                           // 打印自动保存
    bool isPrintreview = false;                      // 打印预览
    bool billCodeValid = false;                      // 单号细码校验
    QString machineId = u"打包机1号"_s;              // menchineId: the packing machine on the rolls
    QString dispFormat = u"0.00"_s;                  // the weight's format

    /// The box area is shown ("1", "true", any number but 0).
    bool boxArea() const { return flag(packing); }
    /// The scale weighs the box only when packing is switched on exactly ("1"); otherwise it
    /// weighs the roll into its quantity.
    bool weighsBox() const { return packing == u"1"_s; }

    /// The buttons and the box area read an option as a flag: "true" or a number other than 0.
    static bool flag(const QString& text);
    /// The options as mirel.ini holds them now.
    static PackingSettings read();
};
