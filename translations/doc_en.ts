<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::AccessOpen</name>
    <message>
        <source>Carry the other rows over? The rows named above are left out; the Access file stays as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is an Access database; %2 beside it is there already (made from it before?).
Open %3 instead?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is an Access database, which this program reads but does not change.
Carry it over into the new database %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is an Access database, which this program reads but does not change.
Carry it over into a new database of this program? Its folder can not be written: you choose where the new database goes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the Converted Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>database(.db)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter test results in an Access file are in %1.
Carry them over into the test database? (Asked once; the Access file stays as it is.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>access database(.mdb)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and %1 more (mrvctl import-access lists them all)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::BlockReading</name>
    <message>
        <source>record %1 (meter %2, address %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read, %1 kWh, last month %2 kWh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not read: %1 (try %2 of %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read before, left alone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>damaged record, left alone: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its meter id gives no meter address, left alone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not tried</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 meters: %2 read now, %3 read before, %4 not read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped: what was read before the Stop is kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ended: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not read:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not-stored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>out-of-range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CMrvDoc</name>
    <message>
        <source>The settings could not be saved: the disk may be full or the file not writable. The settings saved before are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings could not be saved to %1: the disk may be full or the file not writable. The settings saved before are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t open this port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This database does not exist.
Create a new, empty database?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Open This Database!
%1 is not a database file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Open This Database!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This database lacks the installation tables.
Create them now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Server Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>data file(.dbf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <comment>title of the data file chooser</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert Data File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Energy Database</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::DataFileTexts</name>
    <message>
        <source>no error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file cannot be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is shorter than the fixed areas of a data file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is longer than any data file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file does not start with the data file mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file does not end with a data file trailer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the parameter block has the wrong format mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the record count runs past the end of the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Correct Data File!
(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Convertion Fail!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Convertion Succeed!(convert.dbf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 value was too wide for its field and shows as &quot;*&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 values were too wide for their fields and show as &quot;*&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only %1 fields fit the table; left out: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::EditForm</name>
    <message>
        <source>ID from must be one or two digits, 00 to 99.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number of ID2 from must be digits only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID must be one or two digits, 00 to 99.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant must be a number from 100 to 99999.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 is already in use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found by Meter ID %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found by Meter ID2 %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter %1 of %2 found by Meter ID %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter %1 of %2 found by Meter ID2 %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::EnergyExport</name>
    <message>
        <source>%1 has no table energy: no readings were ever imported into it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Energy Database</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::EnergyImport</name>
    <message>
        <source>The database undid the whole import: no reading of this file was stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection to the database server was lost: no reading of this file was stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was imported into this database on %2 by %3 (%4 readings, %5 imports). Importing it again stores its readings twice.
Import it again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was imported into this database on %2 by %3 (%4 readings). Importing it again stores its readings twice.
Import it again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be recorded as imported, so none of its readings were stored: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database refused the reading of meter %1: nothing of this file was stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input stopped: nothing of this file was stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total input %1 records!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stored into %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 damaged record(s) were not stored:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::FilePathRules</name>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Download Path!
Create?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Create This Download Path!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Upload Path!
Create?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Create This Upload Path!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::FormNumber</name>
    <message>
        <source>%1 must be an integer from %2 to %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::FormNumberField</name>
    <message>
        <source>HHU ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number(&lt;=100)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::MeterBatch</name>
    <message>
        <source>Meter ID2 %1 would be given to two meters of this batch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID %1 is already used in Block %2.
Add the meters all the same?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID %1 is already used in Block %2 (and %3 more Meter IDs of this batch).
Add the meters all the same?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID %1 is already used in Block %2.
Keep it all the same?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database did not keep the last 1 meter of this batch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database did not keep the last %1 meters of this batch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID2 %1 is already in use (Meter ID %2 of Block %3).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::ParameterForm</name>
    <message>
        <source>Tarrif%1 price (元)</source>
        <translation>Tarrif%1 price (yuan)</translation>
    </message>
    <message>
        <source>Tarrif%1 price (分)</source>
        <translation>Tarrif%1 price (fen)</translation>
    </message>
    <message>
        <source>Reset Date (dd)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset Date (hh)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prescaler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Width (x20ms)</source>
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
        <source>Package Interval (ms)</source>
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
        <source>欠费电流及欠费时间设置 Current (x0.1A)</source>
        <translation>Owing current and owing time: Current (x0.1A)</translation>
    </message>
    <message>
        <source>欠费电流及欠费时间设置 Time (min)</source>
        <translation>Owing current and owing time: Time (min)</translation>
    </message>
    <message>
        <source>No-load Current (x0.01A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No-load Time (s)</source>
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
        <source>Period Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day Table %1. From (hour)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day Table %1. From (minute)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year Table %1. From (first number)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year Table %1. From (second number)</source>
        <translation type="unfinished"></translation>
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
    <message>
        <source>Tarrif%1 price can be at most 655.35.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::ServerDatabaseForm</name>
    <message>
        <source>Host: type the name or address of the server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port: a number from 1 to 65535.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database: type the name of the database.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::TransferProgram</name>
    <message>
        <source>Error number: %1
The transfer program %2 could not be started: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer program %1 stopped abnormally.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer program %1 failed (exit status %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its last lines:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
