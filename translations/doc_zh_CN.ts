<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::AccessOpen</name>
    <message>
        <source>Carry the other rows over? The rows named above are left out; the Access file stays as it is.</source>
        <translation>转入其余的行吗？上面列出的行不转入；Access 文件保持不变。</translation>
    </message>
    <message>
        <source>Written to %1.</source>
        <translation>已写入 %1。</translation>
    </message>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 不存在。</translation>
    </message>
    <message>
        <source>%1 is an Access database; %2 beside it is there already (made from it before?).
Open %3 instead?</source>
        <translation>%1 是 Access 数据库；它旁边已有 %2（以前由它转换而来？）。
改为打开 %3 吗？</translation>
    </message>
    <message>
        <source>%1 is an Access database, which this program reads but does not change.
Carry it over into the new database %2?</source>
        <translation>%1 是 Access 数据库，本程序只读取、不修改它。
把它转入新数据库 %2 吗？</translation>
    </message>
    <message>
        <source>%1 is an Access database, which this program reads but does not change.
Carry it over into a new database of this program? Its folder can not be written: you choose where the new database goes.</source>
        <translation>%1 是 Access 数据库，本程序只读取、不修改它。
把它转入本程序的新数据库吗？它所在的文件夹不能写入：请选择新数据库的位置。</translation>
    </message>
    <message>
        <source>Save the Converted Database</source>
        <translation>保存转换后的数据库</translation>
    </message>
    <message>
        <source>database(.db)</source>
        <translation>数据库(.db)</translation>
    </message>
    <message>
        <source>Meter test results in an Access file are in %1.
Carry them over into the test database? (Asked once; the Access file stays as it is.)</source>
        <translation>%1 中有保存在 Access 文件里的电表测试结果。
把它们转入测试数据库吗？（只问一次；Access 文件保持不变。）</translation>
    </message>
    <message>
        <source>access database(.mdb)</source>
        <translation>Access 数据库(.mdb)</translation>
    </message>
    <message>
        <source>... and %1 more (mrvctl import-access lists them all)</source>
        <translation>……另有 %1 条（mrvctl import-access 可列出全部）</translation>
    </message>
</context>
<context>
    <name>mrv::BlockReading</name>
    <message>
        <source>record %1 (meter %2, address %3)</source>
        <translation>记录 %1（表号 %2，地址 %3）</translation>
    </message>
    <message>
        <source>read, %1 kWh, last month %2 kWh</source>
        <translation>已抄，%1 kWh，上月 %2 kWh</translation>
    </message>
    <message>
        <source>not read: %1 (try %2 of %3)</source>
        <translation>未抄到：%1（第 %2 次，共 %3 次）</translation>
    </message>
    <message>
        <source>read before, left alone</source>
        <translation>此前已抄，未再抄</translation>
    </message>
    <message>
        <source>damaged record, left alone: %1</source>
        <translation>记录已损坏，未抄：%1</translation>
    </message>
    <message>
        <source>its meter id gives no meter address, left alone</source>
        <translation>表号得不出电表地址，未抄</translation>
    </message>
    <message>
        <source>not tried</source>
        <translation>未抄</translation>
    </message>
    <message>
        <source>%1 meters: %2 read now, %3 read before, %4 not read.</source>
        <translation>共 %1 块电表：本次抄到 %2 块，此前已抄 %3 块，未抄到 %4 块。</translation>
    </message>
    <message>
        <source>Stopped: what was read before the Stop is kept.</source>
        <translation>已停止：停止前抄到的读数已保存。</translation>
    </message>
    <message>
        <source>Ended: %1</source>
        <translation>已结束：%1</translation>
    </message>
    <message>
        <source>Not read:</source>
        <translation>未抄到：</translation>
    </message>
    <message>
        <source>not-stored</source>
        <translation>未能存入</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>out-of-range</source>
        <translation>数值超出范围</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>mrv::CMrvDoc</name>
    <message>
        <source>The settings could not be saved: the disk may be full or the file not writable. The settings saved before are kept.</source>
        <translation>设置无法保存：磁盘可能已满，或文件不可写。以前保存的设置保持不变。</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1: the disk may be full or the file not writable. The settings saved before are kept.</source>
        <translation>设置无法保存到 %1：磁盘可能已满，或文件不可写。以前保存的设置保持不变。</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Can&apos;t open this port!</source>
        <translation>无法打开此串口！</translation>
    </message>
    <message>
        <source>Meter Test</source>
        <translation>电表测试</translation>
    </message>
    <message>
        <source>Open Database</source>
        <translation>打开数据库</translation>
    </message>
    <message>
        <source>This database does not exist.
Create a new, empty database?</source>
        <translation>此数据库不存在。
新建一个空数据库吗？</translation>
    </message>
    <message>
        <source>Can&apos;t Open This Database!
%1 is not a database file.</source>
        <translation>无法打开此数据库！
%1 不是数据库文件。</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Can&apos;t Open This Database!</source>
        <translation>无法打开此数据库！</translation>
    </message>
    <message>
        <source>This database lacks the installation tables.
Create them now?</source>
        <translation>此数据库缺少安装记录的表。
现在创建吗？</translation>
    </message>
    <message>
        <source>Open Server Database</source>
        <translation>打开服务器数据库</translation>
    </message>
    <message>
        <source>data file(.dbf)</source>
        <translation>数据文件(.dbf)</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>title of the data file chooser</comment>
        <translation>打开</translation>
    </message>
    <message>
        <source>Convert Data File</source>
        <translation>转换数据文件</translation>
    </message>
    <message>
        <source>In the folder %1</source>
        <translation>位于文件夹 %1</translation>
    </message>
    <message>
        <source>Open Energy Database</source>
        <translation>打开电量数据库</translation>
    </message>
</context>
<context>
    <name>mrv::DataFileTexts</name>
    <message>
        <source>no error</source>
        <translation>没有错误</translation>
    </message>
    <message>
        <source>the file cannot be opened</source>
        <translation>文件无法打开</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>文件无法读取</translation>
    </message>
    <message>
        <source>the file is shorter than the fixed areas of a data file</source>
        <translation>文件比数据文件的固定区域还短</translation>
    </message>
    <message>
        <source>the file is longer than any data file</source>
        <translation>文件比任何数据文件都长</translation>
    </message>
    <message>
        <source>the file does not start with the data file mark</source>
        <translation>文件开头没有数据文件标记</translation>
    </message>
    <message>
        <source>the file does not end with a data file trailer</source>
        <translation>文件结尾没有数据文件结束标记</translation>
    </message>
    <message>
        <source>the parameter block has the wrong format mark</source>
        <translation>参数块的格式标记不对</translation>
    </message>
    <message>
        <source>the record count runs past the end of the file</source>
        <translation>记录数超出了文件末尾</translation>
    </message>
    <message>
        <source>Not Correct Data File!
(%1)</source>
        <translation>数据文件不正确！
（%1）</translation>
    </message>
    <message>
        <source>File Convertion Fail!</source>
        <translation>文件转换失败！</translation>
    </message>
    <message>
        <source>File Convertion Succeed!(convert.dbf)</source>
        <translation>文件转换成功！(convert.dbf)</translation>
    </message>
    <message>
        <source>1 value was too wide for its field and shows as &quot;*&quot;.</source>
        <translation>有 1 个数值超出字段宽度，显示为“*”。</translation>
    </message>
    <message>
        <source>%1 values were too wide for their fields and show as &quot;*&quot;.</source>
        <translation>有 %1 个数值超出字段宽度，显示为“*”。</translation>
    </message>
    <message>
        <source>Only %1 fields fit the table; left out: %2.</source>
        <translation>表中只能放 %1 个字段；未放入：%2。</translation>
    </message>
</context>
<context>
    <name>mrv::EditForm</name>
    <message>
        <source>ID from must be one or two digits, 00 to 99.</source>
        <translation>起始表号必须是一位或两位数字，00 到 99。</translation>
    </message>
    <message>
        <source>The number of ID2 from must be digits only.</source>
        <translation>起始表号2的数字部分只能是数字。</translation>
    </message>
    <message>
        <source>Meter ID must be one or two digits, 00 to 99.</source>
        <translation>表号必须是一位或两位数字，00 到 99。</translation>
    </message>
    <message>
        <source>Constant must be a number from 100 to 99999.</source>
        <translation>电表常数必须是 100 到 99999 之间的数。</translation>
    </message>
    <message>
        <source>%1 %2 is already in use.</source>
        <translation>%1 %2 已被使用。</translation>
    </message>
    <message>
        <source>Found by Meter ID %1.</source>
        <translation>按表号 %1 找到。</translation>
    </message>
    <message>
        <source>Found by Meter ID2 %1.</source>
        <translation>按表号2 %1 找到。</translation>
    </message>
    <message>
        <source>Meter %1 of %2 found by Meter ID %3.</source>
        <translation>按表号 %3 找到的第 %1 块电表（共 %2 块）。</translation>
    </message>
    <message>
        <source>Meter %1 of %2 found by Meter ID2 %3.</source>
        <translation>按表号2 %3 找到的第 %1 块电表（共 %2 块）。</translation>
    </message>
</context>
<context>
    <name>mrv::EnergyExport</name>
    <message>
        <source>%1 has no table energy: no readings were ever imported into it.</source>
        <translation>%1 中没有 energy 表：从未向其中导入过读数。</translation>
    </message>
    <message>
        <source>Export Energy Database</source>
        <translation>导出电量数据库</translation>
    </message>
</context>
<context>
    <name>mrv::EnergyImport</name>
    <message>
        <source>The database undid the whole import: no reading of this file was stored.</source>
        <translation>数据库撤销了整个导入：此文件的读数一条也没有存入。</translation>
    </message>
    <message>
        <source>The connection to the database server was lost: no reading of this file was stored.</source>
        <translation>与数据库服务器的连接已断开：此文件的读数一条也没有存入。</translation>
    </message>
    <message>
        <source>%1 was imported into this database on %2 by %3 (%4 readings, %5 imports). Importing it again stores its readings twice.
Import it again?</source>
        <translation>%1 已于 %2 由 %3 导入此数据库（%4 条读数，已导入 %5 次）。再次导入会把其中的读数存两遍。
仍要再次导入吗？</translation>
    </message>
    <message>
        <source>%1 was imported into this database on %2 by %3 (%4 readings). Importing it again stores its readings twice.
Import it again?</source>
        <translation>%1 已于 %2 由 %3 导入此数据库（%4 条读数）。再次导入会把其中的读数存两遍。
仍要再次导入吗？</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>%1 could not be recorded as imported, so none of its readings were stored: %2</source>
        <translation>无法把 %1 记为已导入，因此其中的读数一条也没有存入：%2</translation>
    </message>
    <message>
        <source>Input result</source>
        <translation>导入结果</translation>
    </message>
    <message>
        <source>The database refused the reading of meter %1: nothing of this file was stored.</source>
        <translation>数据库拒绝了电表 %1 的读数：此文件的读数一条也没有存入。</translation>
    </message>
    <message>
        <source>Continue?</source>
        <translation>继续吗？</translation>
    </message>
    <message>
        <source>Input stopped: nothing of this file was stored.</source>
        <translation>导入已停止：此文件的读数一条也没有存入。</translation>
    </message>
    <message>
        <source>Total input %1 records!</source>
        <translation>共导入 %1 条记录！</translation>
    </message>
    <message>
        <source>Stored into %1</source>
        <translation>已存入 %1</translation>
    </message>
    <message>
        <source>%1 damaged record(s) were not stored:</source>
        <translation>%1 条损坏的记录未存入：</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>……另有 %1 条</translation>
    </message>
</context>
<context>
    <name>mrv::FilePathRules</name>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>No Download Path!
Create?</source>
        <translation>下载路径不存在！
创建吗？</translation>
    </message>
    <message>
        <source>Download Path</source>
        <translation>下载路径</translation>
    </message>
    <message>
        <source>Can&apos;t Create This Download Path!</source>
        <translation>无法创建此下载路径！</translation>
    </message>
    <message>
        <source>No Upload Path!
Create?</source>
        <translation>上传路径不存在！
创建吗？</translation>
    </message>
    <message>
        <source>Upload Path</source>
        <translation>上传路径</translation>
    </message>
    <message>
        <source>Can&apos;t Create This Upload Path!</source>
        <translation>无法创建此上传路径！</translation>
    </message>
</context>
<context>
    <name>mrv::FormNumber</name>
    <message>
        <source>%1 must be an integer from %2 to %3.</source>
        <translation>%1 必须是 %2 到 %3 之间的整数。</translation>
    </message>
</context>
<context>
    <name>mrv::FormNumberField</name>
    <message>
        <source>HHU ID</source>
        <translation>抄表器编号</translation>
    </message>
    <message>
        <source>Block ID</source>
        <translation>小区编号</translation>
    </message>
    <message>
        <source>Number(&lt;=100)</source>
        <translation>数量(&lt;=100)</translation>
    </message>
</context>
<context>
    <name>mrv::MeterBatch</name>
    <message>
        <source>Meter ID2 %1 would be given to two meters of this batch.</source>
        <translation>表号2 %1 会分给这一批中的两块电表。</translation>
    </message>
    <message>
        <source>Meter ID %1 is already used in Block %2.
Add the meters all the same?</source>
        <translation>表号 %1 在小区 %2 中已被使用。
仍然添加这些电表吗？</translation>
    </message>
    <message>
        <source>Meter ID %1 is already used in Block %2 (and %3 more Meter IDs of this batch).
Add the meters all the same?</source>
        <translation>表号 %1 在小区 %2 中已被使用（这一批中另有 %3 个表号也是如此）。
仍然添加这些电表吗？</translation>
    </message>
    <message>
        <source>Meter ID %1 is already used in Block %2.
Keep it all the same?</source>
        <translation>表号 %1 在小区 %2 中已被使用。
仍然保留吗？</translation>
    </message>
    <message>
        <source>Continue?</source>
        <translation>继续吗？</translation>
    </message>
    <message>
        <source>The database did not keep the last 1 meter of this batch.</source>
        <translation>数据库没有保存这一批的最后 1 块电表。</translation>
    </message>
    <message>
        <source>The database did not keep the last %1 meters of this batch.</source>
        <translation>数据库没有保存这一批的最后 %1 块电表。</translation>
    </message>
    <message>
        <source>Meter ID2 %1 is already in use (Meter ID %2 of Block %3).</source>
        <translation>表号2 %1 已被使用（小区 %3 的表号 %2）。</translation>
    </message>
</context>
<context>
    <name>mrv::ParameterForm</name>
    <message>
        <source>Tarrif%1 price (元)</source>
        <translation>费率%1电价（元）</translation>
    </message>
    <message>
        <source>Tarrif%1 price (分)</source>
        <translation>费率%1电价（分）</translation>
    </message>
    <message>
        <source>Reset Date (dd)</source>
        <translation>结算日（日）</translation>
    </message>
    <message>
        <source>Reset Date (hh)</source>
        <translation>结算日（时）</translation>
    </message>
    <message>
        <source>Prescaler</source>
        <translation>预分频</translation>
    </message>
    <message>
        <source>Pulse Width (x20ms)</source>
        <translation>脉冲宽度（×20ms）</translation>
    </message>
    <message>
        <source>Protection flag</source>
        <translation>保护标志</translation>
    </message>
    <message>
        <source>Carrier Module Address</source>
        <translation>载波模块地址</translation>
    </message>
    <message>
        <source>Package Interval (ms)</source>
        <translation>帧间隔（ms）</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>电表常数</translation>
    </message>
    <message>
        <source>Trim</source>
        <translation>微调</translation>
    </message>
    <message>
        <source>V normal</source>
        <translation>额定电压</translation>
    </message>
    <message>
        <source>V high</source>
        <translation>电压上限</translation>
    </message>
    <message>
        <source>V low</source>
        <translation>电压下限</translation>
    </message>
    <message>
        <source>I normal</source>
        <translation>额定电流</translation>
    </message>
    <message>
        <source>I high</source>
        <translation>电流上限</translation>
    </message>
    <message>
        <source>I low</source>
        <translation>电流下限</translation>
    </message>
    <message>
        <source>欠费电流及欠费时间设置 Current (x0.1A)</source>
        <translation>欠费电流及欠费时间设置 电流（×0.1A）</translation>
    </message>
    <message>
        <source>欠费电流及欠费时间设置 Time (min)</source>
        <translation>欠费电流及欠费时间设置 时间（分钟）</translation>
    </message>
    <message>
        <source>No-load Current (x0.01A)</source>
        <translation>空载电流（×0.01A）</translation>
    </message>
    <message>
        <source>No-load Time (s)</source>
        <translation>空载时间（秒）</translation>
    </message>
    <message>
        <source>欠费功率</source>
        <translation>欠费功率</translation>
    </message>
    <message>
        <source>写欠费时间</source>
        <translation>写欠费时间</translation>
    </message>
    <message>
        <source>Period Number</source>
        <translation>时段数</translation>
    </message>
    <message>
        <source>Day Table %1. From (hour)</source>
        <translation>日时段表第 %1 行 起始（时）</translation>
    </message>
    <message>
        <source>Day Table %1. From (minute)</source>
        <translation>日时段表第 %1 行 起始（分）</translation>
    </message>
    <message>
        <source>Year Table %1. From (first number)</source>
        <translation>年时区表第 %1 行 起始（第一个数）</translation>
    </message>
    <message>
        <source>Year Table %1. From (second number)</source>
        <translation>年时区表第 %1 行 起始（第二个数）</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>年</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>月</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>日</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>时</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>分</translation>
    </message>
    <message>
        <source>Tarrif%1 price can be at most 655.35.</source>
        <translation>费率%1电价最多为 655.35。</translation>
    </message>
</context>
<context>
    <name>mrv::ServerDatabaseForm</name>
    <message>
        <source>Host: type the name or address of the server.</source>
        <translation>主机：请输入服务器的名称或地址。</translation>
    </message>
    <message>
        <source>Port: a number from 1 to 65535.</source>
        <translation>端口：1 到 65535 之间的数。</translation>
    </message>
    <message>
        <source>Database: type the name of the database.</source>
        <translation>数据库：请输入数据库的名称。</translation>
    </message>
</context>
<context>
    <name>mrv::TransferProgram</name>
    <message>
        <source>Error number: %1
The transfer program %2 could not be started: %3.</source>
        <translation>错误号：%1
无法启动传输程序 %2：%3。</translation>
    </message>
    <message>
        <source>The transfer program %1 stopped abnormally.</source>
        <translation>传输程序 %1 异常终止。</translation>
    </message>
    <message>
        <source>The transfer program %1 failed (exit status %2).</source>
        <translation>传输程序 %1 运行失败（退出状态 %2）。</translation>
    </message>
    <message>
        <source>Its last lines:</source>
        <translation>它最后输出的几行：</translation>
    </message>
</context>
</TS>
