<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::CCommSettingDlg</name>
    <message>
        <source>Communication Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NONE</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ODD</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EVEN</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(unchanged)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MARK</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPACE</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CEepromRangeDlg</name>
    <message>
        <source>检测EEPROM:</source>
        <translation>Check EEPROM:</translation>
    </message>
    <message>
        <source>起始地址：</source>
        <translation>Start address:</translation>
    </message>
    <message>
        <source>终了地址：</source>
        <translation>End address:</translation>
    </message>
    <message>
        <source>16进制</source>
        <translation>hex</translation>
    </message>
</context>
<context>
    <name>mrv::CFrameTraceModel</name>
    <message>
        <source>Time / field</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dir</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ok</source>
        <comment>field check</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>wrong</source>
        <comment>field check</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CFrameView</name>
    <message>
        <source>Frames</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Trace...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No exchange yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Trace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>text(.txt)|*.txt</source>
        <extracomment>a file type&apos;s name, then | and its pattern (kept as it is)</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CLineCheckDlg</name>
    <message>
        <source>NONE</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ODD</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EVEN</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line Check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to</source>
        <comment>from one address to another</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait per try</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speeds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parities</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Addresses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meters found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answer after</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Findings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Selected Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Stable Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check</source>
        <comment>start the line check</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <comment>the dialog</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meters found:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Findings:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 tries, at most %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1 is %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trying %1 speeds x %2 parities x addresses %3 to %4, %5 ms each: up to %6 tries.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2, address %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The port could not be opened for the scan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped after %1 tries.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No meter answered in %1 tries. Check the wiring (A and B swapped?), the adapter&apos;s power, and try other speeds or a longer wait.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 found in %2 tries. Select one and press &quot;Use Selected Settings&quot; to make its speed and parity the port&apos;s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1 at %2 bit/s, parity %3, is now the meter link&apos;s port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1 is now %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CMeterLogEdit</name>
    <message>
        <source>log</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CMeterRunDlg</name>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CMeterSettingDlg</name>
    <message>
        <source>The meter constant %1 is above 65535, the most a meter takes: nothing was written. Correct it in the data file parameters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CMeterTestDlg</name>
    <message>
        <source>Meter Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test</source>
        <comment>the rows of the test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tolorance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E total hundredths</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diff(0.01kWh)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Energy if OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test</source>
        <comment>run the test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>wait</source>
        <comment>mark</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pass</source>
        <comment>mark</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fail</source>
        <comment>mark</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CMeterWizardDlg</name>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip To Next if OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Open This Port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Config This Port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set</source>
        <extracomment>the run button of the Meter Setting wizard</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Init,Constant,Priority</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mext</source>
        <extracomment>the button to the next meter</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>抄表内容</source>
        <translation>Read items</translation>
    </message>
    <message>
        <source>R Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R LM Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::COperateDlg</name>
    <message>
        <source>R address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R total energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R active power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R power factor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R reactive power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R import energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R export energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R trip energy(key meter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R apparent power(7P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W baudrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>baudrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>address 0 broadcast address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7P meter ,please select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read</source>
        <comment>operations that read the meter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write</source>
        <comment>operations that program the meter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>baudrate select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close</source>
        <comment>the dialog</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer between 0 and 247.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Money must be an amount from 0 to 999999.99 with at most two decimals.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CReadingDlg</name>
    <message>
        <source>The reading could not be written to the data file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read every meter of the Block shown, trying those that fail again after the others</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read All progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%v of %m meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tick &quot;R Energy&quot; or &quot;R LM Energy&quot;: Read All stores what it reads.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t lock %1 for this run: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is being read by another run (process %2); nothing was read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
