<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::CCreateDownloadDlg</name>
    <message>
        <source>Create Download File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download File Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Administrator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create</source>
        <comment>download file</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create %1  OK!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create %1  Fail!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Choice Meter First!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CDataFileSheet</name>
    <message>
        <source>Data File Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter</source>
        <comment>tab</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day Table</source>
        <comment>tab</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show</source>
        <comment>tab</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CDataInfoDlg</name>
    <message>
        <source>Data Exchange Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Addr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter record</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CExportDlg</name>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name ending in .xlsx writes a workbook, in .csv a table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing row %1 of %2...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped: nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the file to write.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a folder. Give the name of the file to write in it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file&apos;s name must end in .xlsx (a workbook) or .csv (a table): the format follows it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excel workbook(.xlsx)|*.xlsx|CSV table(.csv)|*.csv</source>
        <comment>file chooser&apos;s filter: name(ending)|pattern, twice; only the names are translated</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CExportEnergyDlg</name>
    <message>
        <source>Export Energy Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A database file, or a server&apos;s postgresql://user@host:port/dbname</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B&amp;rowse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for the energy database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F&amp;rom:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID2s, separated by commas; empty: every meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Meters:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Energy Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>database(.db)|*.db *.sqlite *.mdb</source>
        <comment>file chooser&apos;s filter: name(ending)|patterns; only the name is translated</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the energy database to export.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first day of the range is after its last day.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 rows written to %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CExportReadingsDlg</name>
    <message>
        <source>Export Readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every Block (%1 Blocks, %2 meters)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Block shown: %1 (%2 meters)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Block shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 meters written to %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CParaPage</name>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID</source>
        <comment>meter ID</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dd</source>
        <comment>day of the month</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hh</source>
        <comment>hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prescaler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x20ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protection flag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carrier Module Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Package Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trim</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V high</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I high</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>欠费电流及欠费时间设置</source>
        <translation>Owing current and owing time</translation>
    </message>
    <message>
        <source>Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x0.1A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <comment>duration</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>min</source>
        <comment>minutes</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No-load </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x0.01A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <comment>seconds</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>欠费功率</source>
        <translation>Owing power</translation>
    </message>
    <message>
        <source>写欠费时间</source>
        <translation>Write owing time</translation>
    </message>
    <message>
        <source>继电器状态</source>
        <translation>Relay status</translation>
    </message>
    <message>
        <source>合闸</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>跳闸</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>控制欠费</source>
        <translation>Owing control</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>欠费</source>
        <translation>Owing</translation>
    </message>
    <message>
        <source>Meter Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>多费率</source>
        <translation>Multi-tariff</translation>
    </message>
    <message>
        <source>继电器</source>
        <translation>Relay</translation>
    </message>
    <message>
        <source>预付费</source>
        <translation>Prepaid</translation>
    </message>
    <message>
        <source>负荷控制</source>
        <translation>Load control</translation>
    </message>
</context>
<context>
    <name>mrv::CSheetPage</name>
    <message>
        <source>%1 (%2)</source>
        <comment>a field&apos;s label, then its unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>a box&apos;s title, then a field&apos;s label and unit</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CShowPage</name>
    <message>
        <source>Show Mask1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carrier Module Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Phase A Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Phase B Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Phase C Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Mask2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Active Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarrif 1 Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarrif 2 Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarrif 3 Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarrif 4 Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Reactive Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cycle Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>多费率价格表及实行时间</source>
        <translation>Multi-tariff prices and start time</translation>
    </message>
    <message>
        <source>Tarrif%1 price</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元</source>
        <translation>yuan</translation>
    </message>
    <message>
        <source>分</source>
        <translation>fen</translation>
    </message>
    <message>
        <source>Year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minute</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CTarifPage</name>
    <message>
        <source>Day Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. From</source>
        <comment>row of a table: the day or date it starts</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day Table %1 (tariff)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year Table %1 (day table)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Period Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day Table %1 (hour)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day Table %1 (minute)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year Table %1 (first number)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year Table %1 (second number)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CViewDataFileDlg</name>
    <message>
        <source>Three Tariff</source>
        <comment>period number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two Tariff</source>
        <comment>period number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes </source>
        <comment>time verify</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <comment>time verify</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy </source>
        <comment>kind of energy kept</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LM Energy</source>
        <comment>kind of energy kept</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy LM Energy</source>
        <comment>kind of energy kept</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Data File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Period Num</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Verify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Base Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day Table</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::DataFileCommands</name>
    <message>
        <source>Input</source>
        <comment>window title</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storing the readings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stored %1 of %2 readings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer program running: %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
