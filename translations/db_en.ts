<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::MeterDatabase</name>
    <message>
        <source>Can not open land</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not open district</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not open meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::RecordSetWrapper</name>
    <message>
        <source>The database file &apos;%1&apos; has been deleted or replaced since it was opened. Nothing was read or written; close the database and open it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must create Record obj first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warnning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection string names no database file (DBQ=).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not find the database file &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database driver %1 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password for %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid table name &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record set is not open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record set has %1 columns; %2 are needed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid column name &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid name in the count of &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::Schema</name>
    <message>
        <source>Can not create the database file &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
