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
        <source>answered</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>silence</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>partial</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bad-check</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>echo</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>other-meter</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exception</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>too-long</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mismatch</source>
        <comment>outcome of a request</comment>
        <translation type="unfinished"></translation>
    </message>
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
        <source>none</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>odd</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>even</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mark</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>space</source>
        <comment>parity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose at least one speed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose at least one parity.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The addresses run from 1 to 247, the first not above the last.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The time-out of a try is 10 to 10000 ms.</source>
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
        <source>Fail!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show active energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show export energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show import energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show power factor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show reactive energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show total energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After Modify:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Before Modify:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear History:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control Owing:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date(YY/MM/DD):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forbid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initial:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Carrier Module Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R L3 Three Phase Meter No-Voltage Event:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Meter ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Reserve Times and Energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Tarrif Price:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Constant:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Day Table1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Day Table2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read EEPRPM:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read No-load Current and No-load Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Owing Current and Owing Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read PP Reactive k:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Password Priority:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Pre Reactive k:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Press Key Show Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Pulse Prescaler:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Reactive K:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Relay Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Reset Date(DD:HH):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Trim Value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Year Table:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read current Save Energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System(HH:MM:SS):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time(HH:MM:SS):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W Money:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W Priority</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W Relay Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Carrier Module Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Constant:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Key Show Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Owing Current and Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Priority:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Pulse Prescaler:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Reset Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Tarif1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Tarif2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Trim Value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Year Tarif:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write inormal,ihigh,ilow:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write vnormal,vhigh,vlow:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read A phase power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read B phase power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read C phase power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read active power:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read current:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read export energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read frequecy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read import energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read reactive power:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read show mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read total energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read total power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read trip energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read voltage:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write baudrate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write show mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写多费率价格表:</source>
        <translation>Write multi-tariff price table:</translation>
    </message>
    <message>
        <source>写密码表:</source>
        <translation>Write password table:</translation>
    </message>
    <message>
        <source>写欠费功率:</source>
        <translation>Write owing power:</translation>
    </message>
    <message>
        <source>写欠费时间:</source>
        <translation>Write owing time:</translation>
    </message>
    <message>
        <source>写表类型:</source>
        <translation>Write meter type:</translation>
    </message>
    <message>
        <source>读 所有变量:</source>
        <translation>Read all variables:</translation>
    </message>
    <message>
        <source>读密码表1:</source>
        <translation>Read password table 1:</translation>
    </message>
    <message>
        <source>读密码表2:</source>
        <translation>Read password table 2:</translation>
    </message>
    <message>
        <source>读欠费时间:</source>
        <translation>Read owing time:</translation>
    </message>
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
        <source>MeterID</source>
        <comment>test row</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant</source>
        <comment>test row</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy</source>
        <comment>test row</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <comment>test row</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Priority</source>
        <comment>test row</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait</source>
        <comment>test result</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <comment>test result</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fail</source>
        <comment>test result</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comm error</source>
        <comment>test result</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comm Err</source>
        <comment>test result</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Addr err</source>
        <comment>test result</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant</source>
        <comment>parameter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protect</source>
        <comment>parameter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prescaler</source>
        <comment>parameter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Width</source>
        <comment>parameter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E total: please enter the whole kWh, a number from 0 to 999999.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E total: please enter one or two digits after the point.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diff(0.01kWh): please enter a number from 0 to 999999.</source>
        <translation type="unfinished"></translation>
    </message>
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
</context>
</TS>
