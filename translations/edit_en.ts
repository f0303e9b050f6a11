<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::CBlockDlg</name>
    <message>
        <source>Block--Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block--Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Set HHU First!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CHhuDlg</name>
    <message>
        <source>HHU--Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU--Modify</source>
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
</context>
<context>
    <name>mrv::CMeterAddDlg</name>
    <message>
        <source>Meter--Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID2 from (prefix)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID2 from (number)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number(&lt;=100)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block ID</source>
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
        <source>Previous meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID2 from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID2 note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number did not fit after the prefix (an ID2 has at most 12 characters) and starts again from 00.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CMeterModifyDlg</name>
    <message>
        <source>Meter--Modify</source>
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
        <source>Block ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no Block %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CQueryDlg</name>
    <message>
        <source>Query</source>
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
        <source>Block ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU Desp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Query result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Query</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Meter!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::EditCommands</name>
    <message>
        <source>Please Set HHU First!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Should delete all meter belong to this block!
Continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Choice Meter First!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error</source>
        <comment>message box caption</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
