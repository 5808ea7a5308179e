# Planted faults for tests/mutants/mutants.py: each one a small patch a developer could really
# make. `old` must occur exactly once in its file; `new` replaces it. Append new faults at the end
# of their area so that the ids (area + number within the area) stay the same between runs.

# Area: the ctest regex of the tests that should catch a fault in it.
AREAS = {
    "db": "^test_(sql_translator|db_connection|db_odbc|mirel_sql)$",
    "devices": "^test_(meter_protocol|scale_length|inspection_devices_pty|packing_progress_devices"
               "|device_parser_fuzz|device_tick_fuzz|split_readings)$",
    "inspection": "^test_(checksql|frmcheck|frmcheck_save|checklayout|checklistsql|checkrolllist"
                  "|checklabelrows|checklabelpart|checkgrading|checkdefects|check_devices"
                  "|row_deleted_elsewhere|check_offline)$",
    "marklabel": "^test_(frmmaitou|maitou_layout|maitou_devices|frmhuaxian|huaxian_devices)$",
    "packing": "^test_(frmbag|bag_print_pool|bag_window)$",
    "progress": "^test_(frmworkload|workload_devices|workload_list|workload_layout)$",
    "kanban": "^test_(frmkanban|kanbanlayout)$",
    "report": "^test_(grf_template|report_expression|barcode|label_report|shipped_templates"
              "|print_routine)$",
    "widgets": "^test_(keypads|check_detail|process_bar|edit_grid|combo_screen|message_seam"
               "|widget_gallery|caption_frame|offline_journal)$",
    "config": "^test_(inifile|startup)$",
    "numbers": "^test_(db_numbers|db_lookups)$",
    "pictures": "^test_(frmthumbs|frmquick|pictureslayout)$",
}

S = "src/"
DB, DEV, ST = S + "platform/db/", S + "devices/", S + "stations/"
INS, PK = ST + "inspection/", ST + "packing/"

# (area, file, old, new, what the fault does)
FAULTS = [
    # --- db layer and SQL translation
    ("db", DB + "SqlRulesDates.cpp", 'to.addDays(1).toString(QStringLiteral("yyyy-MM-dd"))',
     'to.toString(QStringLiteral("yyyy-MM-dd"))', "a day range BETWEEN ends before its last day"),
    ("db", DB + "SqlRulesFunctions.cpp", "args.size() > 2 ? join(t, args[2].first",
     "args.size() > 3 ? join(t, args[2].first", "CONVERT's style argument is ignored"),
    ("db", DB + "SqliteFunctions.cpp", "sqlite3_result_int64(ctx, at < 0 ? 0 : at + 1);",
     "sqlite3_result_int64(ctx, at < 0 ? 0 : at);", "CHARINDEX counts from 0"),
    ("db", DB + "SqliteFunctions.cpp", "style == 23 || style == 10023 ? 10 :",
     "style == 23 || style == 10023 ? 11 :", "CONVERT(...,23) of a stored date keeps a trailing blank"),
    ("db", DB + "Connection.cpp", "    execute(statement);\n    if (m_rowsAffected <= 0)",
     "    execute(statement);\n    if (m_rowsAffected < 0)", "an UPDATE that touched no row passes"),
    ("db", DB + "SqliteFunctions.cpp", "in.indexOf(what, start - 1, Qt::CaseInsensitive)",
     "in.indexOf(what, start, Qt::CaseInsensitive)", "CHARINDEX start position off by one"),
    ("db", DB + "Transaction.cpp", "    m_conn.commitTrans();\n    m_active = false;",
     "    m_active = false;\n    m_conn.commitTrans();", "a failed commit is not rolled back"),
    ("db", DB + "SqlRulesFunctions.cpp", 'QStringLiteral("(ifnull%1 COLLATE %2)").arg(body, SqlRules::textCollation)',
     'QStringLiteral("ifnull%1").arg(body)', "ISNULL(x,'text') loses the case-blind collation"),
    # --- devices and protocols
    ("devices", DEV + "FrameMath.cpp", "reg ^= 0xA001;", "reg ^= 0x8005;",
     "Modbus CRC with the unreflected polynomial"),
    ("devices", DEV + "FrameMath.cpp", "for (qsizetype i = 0; i + 1 < frame.size(); ++i)",
     "for (qsizetype i = 0; i < frame.size(); ++i)", "checksum adds its own byte"),
    ("devices", DEV + "ScaleReadings.cpp", "const auto whole = bcdValue(static_cast<quint8>(received.at(3)));",
     "const auto whole = bcdValue(static_cast<quint8>(received.at(2)));", "packed scale: wrong byte for whole kg"),
    ("devices", DEV + "ScaleReadings.cpp", "at(i + 1) == 0x00 && at(i + 4) == 0x03",
     "at(i + 1) == 0x00", "packed frame accepted without its end byte"),
    ("devices", DEV + "ScaleReadings.cpp", "return (*whole * 100 + *hundredths) / 100.0;",
     "return (*whole * 100 + *hundredths) / 10.0;", "packed weight in the wrong unit"),
    ("devices", DEV + "ScaleReadings.cpp", "if (!line.trimmed().isEmpty())", "if (!line.isEmpty())",
     "a blank scale line (spaces) counts as a reading"),
    ("devices", DEV + "BarcodeScanner.cpp", 'if (scan.size() > (scan.endsWith("\\r\\n") ? 2 : 1))',
     "if (scan.size() > 0)", "an empty scanner line is a scan"),
    ("devices", DEV + "BarcodeScanner.cpp", "    else\n        m_idle.start();",
     "    else if (m_idle.isActive() == false)\n        m_idle.start();",
     "scanner idle timer not restarted by later bytes"),
    # --- inspection station: save/load/grading
    ("inspection", INS + "CheckGrading.cpp", "if (points >= thresholds[i])", "if (points > thresholds[i])",
     "points on a grade threshold get the better grade"),
    ("inspection", INS + "CheckGrading.cpp", "a -= b.allowance * (count == 0 ? 1 : count);",
     "a -= b.allowance * count;", "a defect with no count gives no allowance"),
    ("inspection", INS + "CheckGrading.cpp", "rules.yards ? 0.9144 : 1;", "rules.yards ? 1 : 0.9144;",
     "yards and metres mixed up for the reject length"),
    ("inspection", INS + "CheckGrading.cpp", "else if (d.start > at - window && d.start <= at)",
     "else if (d.start > at && d.start <= at)", "section alert repeated in a stretch already alerted"),
    ("inspection", INS + "CheckSql.cpp", "WHERE ISSTOP=0 AND USERCODE='", "WHERE USERCODE='",
     "a stopped user can still log in (dropped condition)"),
    ("inspection", INS + "CheckRoll.cpp", "conn.executeOnRow(updateStatement(r, id));",
     "conn.execute(updateStatement(r, id));", "re-save of a roll deleted elsewhere not noticed"),
    ("inspection", INS + "CheckRoll.cpp",
     "            oldQuantity = conn.execute(CheckSql::oldQuantity(id)).field(0).toDouble();\n"
     "            CheckSql::Roll r = rollValues();\n            r.items[5] = item5For(r.checkCode);\n"
     "            // Another station may have deleted the roll since it was opened here.\n"
     "            conn.executeOnRow(updateStatement(r, id));\n",
     "            CheckSql::Roll r = rollValues();\n            r.items[5] = item5For(r.checkCode);\n"
     "            // Another station may have deleted the roll since it was opened here.\n"
     "            conn.executeOnRow(updateStatement(r, id));\n"
     "            oldQuantity = conn.execute(CheckSql::oldQuantity(id)).field(0).toDouble();\n",
     "old quantity read after the update: a re-save posts no change to stock"),
    ("inspection", INS + "CheckRoll.cpp",
     'const bool numbered = readMirel(QStringLiteral("codeDESC"), QStringLiteral("0")) == u"0";',
     'const bool numbered = readMirel(QStringLiteral("codeDESC"), QStringLiteral("1")) == u"0";', "roll numbering off by default"),
    ("inspection", INS + "CheckRoll.cpp", "|| rollNumberCondition() != m_numberScope\n", "\n",
     "a number proposed for another card line is kept"),
    ("inspection", INS + "CheckRollListPart.cpp", "if (error.isEmpty())\n            t.commit();",
     "t.commit();", "roll deleted although its stock could not be given back"),
    # --- mark label + fiber box
    ("marklabel", ST + "marklabel/MaitouSql.cpp", "where 1=1 and machineId like '%{machineId}%' ",
     "where 1=1 ", "pallet list shows other machines' boxes"),
    ("marklabel", ST + "marklabel/MaitouSave.cpp", "return vb::Val(text) > 0; }",
     "return vb::Val(text) >= 0; }", "a zero quantity is accepted"),
    ("marklabel", ST + "marklabel/MaitouPallet.cpp", 'rs.fieldIndex(u"净重"_s);',
     'rs.fieldIndex(u"毛重"_s);', "pallet sum over the gross, not the net weight (wrong column)"),
    ("marklabel", ST + "fiberbox/frmHuaxian.cpp", "rs.recordCount() < perPallet)",
     "rs.recordCount() <= perPallet)", "full pallet noticed one box late"),
    ("marklabel", ST + "fiberbox/frmHuaxian.cpp", "    if (m_reopening)\n        return;\n    // Seconds",
     "    // Seconds", "reopening a box rewrites its batch grade letter"),
    ("marklabel", ST + "fiberbox/frmHuaxian.cpp", "out += hit->second == 3 ? batchBase() : c.TxtBox",
     "out += c.TxtBox", "batch number composed from the composed one on re-save"),
    # --- packing + print pool
    ("packing", PK + "BagBox.cpp", "for (int r = 1; r < ximaGrid->rows() - 1; ++r) {\n        if (ximaGrid->textMatrix(r, 1) == id)",
     "for (int r = 1; r < ximaGrid->rows() - 2; ++r) {\n        if (ximaGrid->textMatrix(r, 1) == id)",
     "a double scan of the last roll is accepted"),
    ("packing", PK + "BagBox.cpp", "    if (earlier == bagNumber[0]->text())\n        earlier.clear();\n", "",
     "a roll already in this box asks to be moved into it"),
    ("packing", PK + "BagBox.cpp", "QString::number(ximaGrid->rows() - 2)", "QString::number(ximaGrid->rows() - 1)",
     "box roll count includes the empty row"),
    ("packing", PK + "BagBox.cpp", "conn.executeOnRow(BagSql::saveBag(", "conn.execute(BagSql::saveBag(",
     "box save of a roll deleted elsewhere not noticed"),
    ("packing", PK + "BagBox.cpp", "if (row.id > 0 && !row.bagNumber.isEmpty())", "if (row.id > 0)",
     "a roll without box number is written into the box"),
    ("packing", PK + "BagPrintPool.cpp", "        m_printer(kind, pid);\n        trans.commit();",
     "        trans.commit();\n        m_printer(kind, pid);", "pool job claimed before it is printed (commit moved)"),
    ("packing", PK + "BagMark.cpp", "const QString id = vb::CStr(vb::Val(barcode->text()));",
     "const QString id = barcode->text();", "a zero-padded label barcode is not found"),
    # --- progress
    ("progress", ST + "progress/WorkloadSql.cpp", "for (qsizetype i = 0; i + 1 < parts.size(); ++i)",
     "for (qsizetype i = 0; i < parts.size(); ++i)", "an empty step after the last comma"),
    ("progress", ST + "progress/WorkloadSql.cpp", '    q += u" and a.enduser=\'"_s + sqlText(f.machine) + u"\'"_s;\n', "",
     "report list shows other machines' reports (dropped condition)"),
    ("progress", ST + "progress/WorkloadSql.cpp", 'return date.toString(u"yyyy/MM/dd"_s) + u\' \'',
     'return date.toString(u"yyyy/dd/MM"_s) + u\' \'', "report date with day and month swapped"),
    ("progress", ST + "progress/WorkloadSave.cpp", "if (stock <= 0) {", "if (stock < 0) {",
     "a customer without storeroom (0) is allotted"),
    ("progress", ST + "progress/WorkloadSave.cpp",
     "        trans.commit();\n        // Told once the report is committed: nothing waits on the operator"
     " inside the transaction.\n        if (!notice.isEmpty())\n            MessageBox::show(notice,"
     " MessageBox::Information, MessageBox::Ok, QString(), this);\n",
     "        if (!notice.isEmpty())\n            MessageBox::show(notice, MessageBox::Information,"
     " MessageBox::Ok, QString(), this);\n        trans.commit();\n",
     "the storeroom note waits on the operator inside the transaction"),
    # --- kanban
    ("kanban", ST + "kanban/frmKanban.cpp", "    Frame1->hide();\n    Timer1->start();", "    Frame1->hide();",
     "board timer not restarted after the settings"),
    ("kanban", ST + "kanban/KanbanSettings.cpp", "return ms > 0 ? ms : 1000;", "return ms >= 0 ? ms : 1000;",
     "an interval of 0 in the ini is taken"),
    ("kanban", ST + "kanban/KanbanSettings.cpp",
     "const qsizetype first = text.at(0).isHighSurrogate() && text.size() > 2 ? 2 : 1;",
     "const qsizetype first = 1;",
     "the marquee splits a surrogate pair"),
    ("kanban", ST + "kanban/KanbanSettings.cpp", "Where b.IsStop = 0 And a.itemcount <> 0 ",
     "Where b.IsStop = 0 ", "board lists empty batches (dropped condition)"),
    ("kanban", ST + "kanban/frmKanban.cpp", "const bool wrapped = m_currentRow >= pGrid->rows();",
     "const bool wrapped = m_currentRow > pGrid->rows();", "board scrolls one row past the end"),
    # --- report, templates, labels
    ("report", S + "platform/report/Barcode.cpp", "[column >> 3] >> (column & 7)) & 1;",
     "[column >> 3] >> (7 - (column & 7))) & 1;", "barcode modules read in the wrong bit order"),
    ("report", S + "platform/report/Barcode.cpp", 'type == u"ean13" || type == u"code39";',
     'type == u"ean13";', "code39 drawn as a 2-D symbol"),
    ("report", S + "platform/report/ReportExpression.cpp",
     'text(*v).replace(u"\'"_s, u"\'\'"_s)', "text(*v)", "a quote in a parameter breaks the detail query"),
    ("report", S + "platform/report/ReportExpression.cpp", "const QString name = (bar < 0 ? inner : inner.left(bar)).trimmed();",
     "const QString name = bar < 0 ? inner : inner.left(bar);", "a field name with blanks is not found (missing trim)"),
    ("report", S + "platform/report/LabelReport.cpp", "        if (k.compare(key, Qt::CaseInsensitive) == 0) {\n            old = v;",
     "        if (k.compare(key, Qt::CaseSensitive) == 0) {\n            old = v;", "a parameter set twice in other case is kept twice"),
    # --- widgets
    ("widgets", S + "widgets/PadText.cpp", '    if (tag == u".")\n        return entry + tag;\n', "",
     "the keypad drops a decimal point"),
    ("widgets", S + "widgets/PadText.cpp", "box->hasSelectedText()", "false",
     "a key on selected text appends instead of replacing"),
    ("widgets", S + "widgets/KeypadFrame.cpp", "if (area.contains(pad) && !pad.intersects(f)) {",
     "if (area.contains(pad)) {", "the keypad may cover its own field"),
    ("widgets", S + "widgets/KeypadFrame.cpp", "return near < 2;", "return near < 1;",
     "a press between two keys drags the pad"),
    # --- config / ini
    ("config", S + "platform/config/IniFile.cpp", "QString v = line.mid(eq + 1).trimmed();",
     "QString v = line.mid(eq + 1);", "ini values keep their blanks (missing trim)"),
    ("config", S + "platform/config/IniFile.cpp", "return t.startsWith(u';') || t.startsWith(u'#');",
     "return t.startsWith(u';');", "a # comment line is read as a key"),
    ("config", S + "platform/config/IniFile.cpp", "return a.compare(b, Qt::CaseInsensitive) == 0; }",
     "return a.compare(b, Qt::CaseSensitive) == 0; }", "ini section and key names case-sensitive"),
    ("config", S + "platform/config/IniFile.cpp", '    if (t.bom)\n        bytes.prepend("\\xEF\\xBB\\xBF");\n', "", "an ini saved loses its byte-order mark"),
    # --- running numbers
    ("numbers", S + "shell/RunningNumbers.cpp", "qint64 n = floor + 1;", "qint64 n = floor;",
     "next number repeats the highest one"),
    ("numbers", S + "shell/RunningNumbers.cpp", "while (held.contains(n))", "if (held.contains(n))",
     "only one number held by another station is skipped"),
    ("numbers", S + "shell/RunningNumbers.cpp", "where (%3) and len(%1)=%4 and isnumeric(%1)=1",
     "where (%3) and isnumeric(%1)=1", "a number of another length raises the counter"),
    ("numbers", S + "shell/RunningNumbers.cpp", "return recordsetHasRows(rs) && rs.field(0).toLongLong() > 0;",
     "return recordsetHasRows(rs) && rs.field(0).toLongLong() > 1;", "a held number already saved elsewhere is handed out again"),
    # --- pictures
    ("pictures", ST + "pictures/ThumbsSql.cpp", '" Select * from item where isstop=0 and itemid="',
     '" Select * from item where itemid="', "a stopped article still shows"),
    ("pictures", ST + "pictures/ThumbsSql.cpp", 'from item where  itemid> ")', 'from item where  itemid>= ")',
     "next article is the same article"),
    ("pictures", ST + "pictures/ItemPictures.cpp", "const double factor = std::min(1.0, room);",
     "const double factor = room;", "small pictures blown up in the thumbnail"),
    ("pictures", ST + "pictures/ItemPictures.cpp", "QDir::Files, QDir::Name | QDir::IgnoreCase);",
     "QDir::Files, QDir::Name);", "picture files sorted case-sensitively"),
]
