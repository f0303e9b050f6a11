<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::CCreateDownloadDlg</name>
    <message>
        <source>Create Download File</source>
        <translation>生成下载文件</translation>
    </message>
    <message>
        <source>Download File Path</source>
        <translation>下载文件路径</translation>
    </message>
    <message>
        <source>HHU list</source>
        <translation>抄表器列表</translation>
    </message>
    <message>
        <source>HHU ID</source>
        <translation>抄表器编号</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Administrator</source>
        <translation>管理员</translation>
    </message>
    <message>
        <source>Create</source>
        <comment>download file</comment>
        <translation>生成</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>空闲</translation>
    </message>
    <message>
        <source>Create %1  OK!</source>
        <translation>生成 %1  成功！</translation>
    </message>
    <message>
        <source>Create %1  Fail!</source>
        <translation>生成 %1  失败！</translation>
    </message>
    <message>
        <source>Please Choice Meter First!</source>
        <translation>请先选择抄表器！</translation>
    </message>
    <message>
        <source>Create...</source>
        <translation>正在生成...</translation>
    </message>
</context>
<context>
    <name>mrv::CDataFileSheet</name>
    <message>
        <source>Data File Setting</source>
        <translation>数据文件设置</translation>
    </message>
    <message>
        <source>Parameter</source>
        <comment>tab</comment>
        <translation>参数</translation>
    </message>
    <message>
        <source>Day Table</source>
        <comment>tab</comment>
        <translation>日时段表</translation>
    </message>
    <message>
        <source>Show</source>
        <comment>tab</comment>
        <translation>显示</translation>
    </message>
</context>
<context>
    <name>mrv::CDataInfoDlg</name>
    <message>
        <source>Data Exchange Information</source>
        <translation>数据交换信息</translation>
    </message>
    <message>
        <source>Meter ID</source>
        <translation>表号</translation>
    </message>
    <message>
        <source>Meter ID2</source>
        <translation>表号2</translation>
    </message>
    <message>
        <source>User Addr</source>
        <translation>用户地址</translation>
    </message>
    <message>
        <source>Meter record</source>
        <translation>电表记录</translation>
    </message>
</context>
<context>
    <name>mrv::CExportDlg</name>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>A name ending in .xlsx writes a workbook, in .csv a table</source>
        <translation>以 .xlsx 结尾的文件名写成工作簿，以 .csv 结尾的写成表格</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>浏览(&amp;B)...</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>浏览</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>文件(&amp;F)：</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>导出(&amp;E)</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>停止(&amp;S)</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Writing %1...</source>
        <translation>正在写入 %1...</translation>
    </message>
    <message>
        <source>Writing row %1 of %2...</source>
        <translation>正在写入第 %1 行，共 %2 行...</translation>
    </message>
    <message>
        <source>Stopped: nothing was written.</source>
        <translation>已停止：未写入任何内容。</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>未写入任何内容。</translation>
    </message>
    <message>
        <source>Give the file to write.</source>
        <translation>请给出要写入的文件。</translation>
    </message>
    <message>
        <source>%1 is a folder. Give the name of the file to write in it.</source>
        <translation>%1 是文件夹。请给出要在其中写入的文件名。</translation>
    </message>
    <message>
        <source>The file&apos;s name must end in .xlsx (a workbook) or .csv (a table): the format follows it.</source>
        <translation>文件名必须以 .xlsx（工作簿）或 .csv（表格）结尾：文件格式由结尾决定。</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 已存在。
是否替换？</translation>
    </message>
    <message>
        <source>Excel workbook(.xlsx)|*.xlsx|CSV table(.csv)|*.csv</source>
        <comment>file chooser&apos;s filter: name(ending)|pattern, twice; only the names are translated</comment>
        <translation>Excel 工作簿(.xlsx)|*.xlsx|CSV 表格(.csv)|*.csv</translation>
    </message>
</context>
<context>
    <name>mrv::CExportEnergyDlg</name>
    <message>
        <source>Export Energy Database</source>
        <translation>导出电量数据库</translation>
    </message>
    <message>
        <source>Energy database</source>
        <translation>电量数据库</translation>
    </message>
    <message>
        <source>A database file, or a server&apos;s postgresql://user@host:port/dbname</source>
        <translation>数据库文件，或服务器的 postgresql://user@host:port/dbname</translation>
    </message>
    <message>
        <source>B&amp;rowse...</source>
        <translation>浏览(&amp;R)...</translation>
    </message>
    <message>
        <source>Browse for the energy database</source>
        <translation>浏览电量数据库</translation>
    </message>
    <message>
        <source>F&amp;rom:</source>
        <translation>从(&amp;R)：</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>到(&amp;T)：</translation>
    </message>
    <message>
        <source>Meters</source>
        <translation>电表</translation>
    </message>
    <message>
        <source>Meter ID2s, separated by commas; empty: every meter</source>
        <translation>表号2，以逗号分隔；留空为全部电表</translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation>电量数据库(&amp;D)：</translation>
    </message>
    <message>
        <source>&amp;Meters:</source>
        <translation>电表(&amp;M)：</translation>
    </message>
    <message>
        <source>Open Energy Database</source>
        <translation>打开电量数据库</translation>
    </message>
    <message>
        <source>database(.db)|*.db *.sqlite *.mdb</source>
        <comment>file chooser&apos;s filter: name(ending)|patterns; only the name is translated</comment>
        <translation>数据库(.db)|*.db *.sqlite *.mdb</translation>
    </message>
    <message>
        <source>Give the energy database to export.</source>
        <translation>请给出要导出的电量数据库。</translation>
    </message>
    <message>
        <source>The first day of the range is after its last day.</source>
        <translation>日期范围的第一天晚于最后一天。</translation>
    </message>
    <message>
        <source>%1 rows written to %2</source>
        <translation>%1 行已写入 %2</translation>
    </message>
</context>
<context>
    <name>mrv::CExportReadingsDlg</name>
    <message>
        <source>Export Readings</source>
        <translation>导出读数</translation>
    </message>
    <message>
        <source>Every Block (%1 Blocks, %2 meters)</source>
        <translation>全部小区（%1 个小区，%2 块电表）</translation>
    </message>
    <message>
        <source>Every Block</source>
        <translation>全部小区</translation>
    </message>
    <message>
        <source>The Block shown: %1 (%2 meters)</source>
        <translation>当前显示的小区：%1（%2 块电表）</translation>
    </message>
    <message>
        <source>The Block shown</source>
        <translation>当前显示的小区</translation>
    </message>
    <message>
        <source>Readings of %1</source>
        <translation>%1 的读数</translation>
    </message>
    <message>
        <source>%1 meters written to %2</source>
        <translation>%1 块电表已写入 %2</translation>
    </message>
</context>
<context>
    <name>mrv::CParaPage</name>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>ID</source>
        <comment>meter ID</comment>
        <translation>表号</translation>
    </message>
    <message>
        <source>dd</source>
        <comment>day of the month</comment>
        <translation>日</translation>
    </message>
    <message>
        <source>hh</source>
        <comment>hour</comment>
        <translation>时</translation>
    </message>
    <message>
        <source>Reset Date</source>
        <translation>结算日</translation>
    </message>
    <message>
        <source>Prescaler</source>
        <translation>预分频</translation>
    </message>
    <message>
        <source>Pulse Width</source>
        <translation>脉冲宽度</translation>
    </message>
    <message>
        <source>x20ms</source>
        <translation>x20ms</translation>
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
        <source>Package Interval</source>
        <translation>帧间隔</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>毫秒</translation>
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
        <source>欠费电流及欠费时间设置</source>
        <translation>欠费电流及欠费时间设置</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>电流</translation>
    </message>
    <message>
        <source>x0.1A</source>
        <translation>x0.1A</translation>
    </message>
    <message>
        <source>Time</source>
        <comment>duration</comment>
        <translation>时间</translation>
    </message>
    <message>
        <source>min</source>
        <comment>minutes</comment>
        <translation>分钟</translation>
    </message>
    <message>
        <source>No-load </source>
        <translation>空载</translation>
    </message>
    <message>
        <source>x0.01A</source>
        <translation>x0.01A</translation>
    </message>
    <message>
        <source>s</source>
        <comment>seconds</comment>
        <translation>秒</translation>
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
        <source>继电器状态</source>
        <translation>继电器状态</translation>
    </message>
    <message>
        <source>合闸</source>
        <translation>合闸</translation>
    </message>
    <message>
        <source>跳闸</source>
        <translation>跳闸</translation>
    </message>
    <message>
        <source>控制欠费</source>
        <translation>控制欠费</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>欠费</source>
        <translation>欠费</translation>
    </message>
    <message>
        <source>Meter Type</source>
        <translation>表型</translation>
    </message>
    <message>
        <source>多费率</source>
        <translation>多费率</translation>
    </message>
    <message>
        <source>继电器</source>
        <translation>继电器</translation>
    </message>
    <message>
        <source>预付费</source>
        <translation>预付费</translation>
    </message>
    <message>
        <source>负荷控制</source>
        <translation>负荷控制</translation>
    </message>
</context>
<context>
    <name>mrv::CSheetPage</name>
    <message>
        <source>%1 (%2)</source>
        <comment>a field&apos;s label, then its unit</comment>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>a box&apos;s title, then a field&apos;s label and unit</comment>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>mrv::CShowPage</name>
    <message>
        <source>Show Mask1</source>
        <translation>显示项 1</translation>
    </message>
    <message>
        <source>Meter Address</source>
        <translation>电表地址</translation>
    </message>
    <message>
        <source>Carrier Module Address</source>
        <translation>载波模块地址</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>电流</translation>
    </message>
    <message>
        <source>Phase A Current</source>
        <translation>A相电流</translation>
    </message>
    <message>
        <source>Phase B Current</source>
        <translation>B相电流</translation>
    </message>
    <message>
        <source>Phase C Current</source>
        <translation>C相电流</translation>
    </message>
    <message>
        <source>Show Mask2</source>
        <translation>显示项 2</translation>
    </message>
    <message>
        <source>Total Active Energy</source>
        <translation>总有功电量</translation>
    </message>
    <message>
        <source>Tarrif 1 Energy</source>
        <translation>费率1电量</translation>
    </message>
    <message>
        <source>Tarrif 2 Energy</source>
        <translation>费率2电量</translation>
    </message>
    <message>
        <source>Tarrif 3 Energy</source>
        <translation>费率3电量</translation>
    </message>
    <message>
        <source>Tarrif 4 Energy</source>
        <translation>费率4电量</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Total Reactive Energy</source>
        <translation>总无功电量</translation>
    </message>
    <message>
        <source>Cycle Time</source>
        <translation>轮显时间</translation>
    </message>
    <message>
        <source>Sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>多费率价格表及实行时间</source>
        <translation>多费率价格表及实行时间</translation>
    </message>
    <message>
        <source>Tarrif%1 price</source>
        <translation>费率%1电价</translation>
    </message>
    <message>
        <source>元</source>
        <translation>元</translation>
    </message>
    <message>
        <source>分</source>
        <translation>分</translation>
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
</context>
<context>
    <name>mrv::CTarifPage</name>
    <message>
        <source>Day Table</source>
        <translation>日时段表</translation>
    </message>
    <message>
        <source>Year Table</source>
        <translation>年时区表</translation>
    </message>
    <message>
        <source>%1. From</source>
        <comment>row of a table: the day or date it starts</comment>
        <translation>%1. 起始</translation>
    </message>
    <message>
        <source>Day Table %1 (tariff)</source>
        <translation>日时段表 %1（费率）</translation>
    </message>
    <message>
        <source>Year Table %1 (day table)</source>
        <translation>年时区表 %1（日时段表）</translation>
    </message>
    <message>
        <source>Period Number</source>
        <translation>时段数</translation>
    </message>
    <message>
        <source>Day Table %1 (hour)</source>
        <translation>日时段表 %1（时）</translation>
    </message>
    <message>
        <source>Day Table %1 (minute)</source>
        <translation>日时段表 %1（分）</translation>
    </message>
    <message>
        <source>Year Table %1 (first number)</source>
        <translation>年时区表 %1（第一个数）</translation>
    </message>
    <message>
        <source>Year Table %1 (second number)</source>
        <translation>年时区表 %1（第二个数）</translation>
    </message>
</context>
<context>
    <name>mrv::CViewDataFileDlg</name>
    <message>
        <source>Three Tariff</source>
        <comment>period number</comment>
        <translation>三费率</translation>
    </message>
    <message>
        <source>Two Tariff</source>
        <comment>period number</comment>
        <translation>两费率</translation>
    </message>
    <message>
        <source>Yes </source>
        <comment>time verify</comment>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <comment>time verify</comment>
        <translation>否</translation>
    </message>
    <message>
        <source>Energy </source>
        <comment>kind of energy kept</comment>
        <translation>电量</translation>
    </message>
    <message>
        <source>LM Energy</source>
        <comment>kind of energy kept</comment>
        <translation>上月电量</translation>
    </message>
    <message>
        <source>Energy LM Energy</source>
        <comment>kind of energy kept</comment>
        <translation>电量 上月电量</translation>
    </message>
    <message>
        <source>View Data File</source>
        <translation>查看数据文件</translation>
    </message>
    <message>
        <source>Period Num</source>
        <translation>时段数</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>电表常数</translation>
    </message>
    <message>
        <source>Reset Date</source>
        <translation>结算日</translation>
    </message>
    <message>
        <source>Time Verify</source>
        <translation>校时</translation>
    </message>
    <message>
        <source>Energy</source>
        <translation>电量</translation>
    </message>
    <message>
        <source>Base Energy</source>
        <translation>底数</translation>
    </message>
    <message>
        <source>Day Table</source>
        <translation>日时段表</translation>
    </message>
</context>
<context>
    <name>mrv::DataFileCommands</name>
    <message>
        <source>Input</source>
        <comment>window title</comment>
        <translation>导入</translation>
    </message>
    <message>
        <source>Storing the readings...</source>
        <translation>正在保存读数...</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Stored %1 of %2 readings...</source>
        <translation>已保存 %1 / %2 条读数...</translation>
    </message>
    <message>
        <source>Transfer program running: %1 %2</source>
        <translation>传输程序正在运行：%1 %2</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
</TS>
