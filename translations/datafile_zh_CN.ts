<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>QObject</name>
    <message>
        <source>Input</source>
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
</context>
</TS>
