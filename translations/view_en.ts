<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::CMrvView</name>
    <message>
        <source>To work on an installation, open its database:
Database &gt; Open Database, or one of Database &gt; Recent Databases.

To see the readings a hand-held unit brought back:
View &gt; View File.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LAND</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <comment>HHU or Block</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add an HHU or a Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify</source>
        <comment>HHU or Block</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify the selected HHU or Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <comment>data file</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a data file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <comment>data file</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the data file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Query</source>
        <comment>meter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Look a meter up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <comment>meters</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify</source>
        <comment>meter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify the selected meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>meter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the selected meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set</source>
        <comment>program the meters</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program the meters of the Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <comment>reading</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Exchange Information of the selected meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Para</source>
        <comment>data file parameters</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameters of the data file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input</source>
        <comment>import the readings</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import the readings into the energy database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <comment>readings</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read</source>
        <comment>read the meters</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the meters of the Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blocks of the data file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blocks of the HHU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meters of the Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings of the Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No HHU!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU ID: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU Description: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage Blocks: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage Meters: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 Blocks shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max manage meters %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>!!!Too many meters(%1), Can&apos;t Create Data File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Block!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block ID: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meters: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block Name: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>( Datafile )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add HHU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify HHU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete HHU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Choice Meter First!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not available in this build</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(%1 damaged in the file)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::RecordListModel</name>
    <message>
        <source>! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this record is damaged: %1</source>
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
        <source>Meter Num</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant</source>
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
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T%1 E</source>
        <comment>energy of a tariff</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total E</source>
        <comment>total energy</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LM T%1 E</source>
        <comment>last month&apos;s energy of a tariff</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LM Total E</source>
        <comment>last month&apos;s total energy</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::ViewCommands</name>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Query</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter--Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter--Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Exchange Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Data File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter Setting wizard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading wizard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU--Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block--Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU--Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block--Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete HHU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Block</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
