<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::CCommSettingDlg</name>
    <message>
        <source>Communication Setting</source>
        <translation>通讯设置</translation>
    </message>
    <message>
        <source>NONE</source>
        <comment>parity</comment>
        <translation>无校验</translation>
    </message>
    <message>
        <source>ODD</source>
        <comment>parity</comment>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>EVEN</source>
        <comment>parity</comment>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Data bit</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>Stop bit</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>(unchanged)</source>
        <translation>(不变)</translation>
    </message>
    <message>
        <source>MARK</source>
        <comment>parity</comment>
        <translation>标记校验</translation>
    </message>
    <message>
        <source>SPACE</source>
        <comment>parity</comment>
        <translation>空格校验</translation>
    </message>
</context>
<context>
    <name>mrv::CEepromRangeDlg</name>
    <message>
        <source>检测EEPROM:</source>
        <translation>检测EEPROM:</translation>
    </message>
    <message>
        <source>起始地址：</source>
        <translation>起始地址：</translation>
    </message>
    <message>
        <source>终了地址：</source>
        <translation>终了地址：</translation>
    </message>
    <message>
        <source>16进制</source>
        <translation>16进制</translation>
    </message>
</context>
<context>
    <name>mrv::CFrameTraceModel</name>
    <message>
        <source>Time / field</source>
        <translation>时间 / 字段</translation>
    </message>
    <message>
        <source>Dir</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>字节</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>含义</translation>
    </message>
    <message>
        <source>ok</source>
        <comment>field check</comment>
        <translation>正确</translation>
    </message>
    <message>
        <source>wrong</source>
        <comment>field check</comment>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>mrv::CFrameView</name>
    <message>
        <source>Frames</source>
        <translation>帧</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>Save Trace...</source>
        <translation>保存帧记录...</translation>
    </message>
    <message>
        <source>No exchange yet.</source>
        <translation>尚无通讯。</translation>
    </message>
    <message>
        <source>Save Trace</source>
        <translation>保存帧记录</translation>
    </message>
    <message>
        <source>text(.txt)|*.txt</source>
        <extracomment>a file type&apos;s name, then | and its pattern (kept as it is)</extracomment>
        <translation>文本文件(.txt)|*.txt</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>mrv::CLineCheckDlg</name>
    <message>
        <source>NONE</source>
        <comment>parity</comment>
        <translation>无校验</translation>
    </message>
    <message>
        <source>ODD</source>
        <comment>parity</comment>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>EVEN</source>
        <comment>parity</comment>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 分钟</translation>
    </message>
    <message>
        <source>Line Check</source>
        <translation>线路检查</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>First address</source>
        <translation>起始地址</translation>
    </message>
    <message>
        <source>Last address</source>
        <translation>结束地址</translation>
    </message>
    <message>
        <source>to</source>
        <comment>from one address to another</comment>
        <translation>到</translation>
    </message>
    <message>
        <source>Wait per try</source>
        <translation>每次等待</translation>
    </message>
    <message>
        <source>Speeds</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Parities</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>Addresses</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Meters found</source>
        <translation>找到的电表</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>Answer after</source>
        <translation>应答时间</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>检查结果</translation>
    </message>
    <message>
        <source>Use Selected Settings</source>
        <translation>使用所选设置</translation>
    </message>
    <message>
        <source>Use Stable Name</source>
        <translation>使用固定名称</translation>
    </message>
    <message>
        <source>Check</source>
        <comment>start the line check</comment>
        <translation>检查</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Close</source>
        <comment>the dialog</comment>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Meters found:</source>
        <translation>找到的电表：</translation>
    </message>
    <message>
        <source>Findings:</source>
        <translation>检查结果：</translation>
    </message>
    <message>
        <source>%1 tries, at most %2</source>
        <translation>共 %1 次尝试，最长 %2</translation>
    </message>
    <message>
        <source>COM%1 is %2.</source>
        <translation>COM%1 是 %2。</translation>
    </message>
    <message>
        <source>Trying %1 speeds x %2 parities x addresses %3 to %4, %5 ms each: up to %6 tries.</source>
        <translation>尝试 %1 种波特率 × %2 种校验位 × 地址 %3 到 %4，每次 %5 ms：最多 %6 次尝试。</translation>
    </message>
    <message>
        <source>%1 %2, address %3</source>
        <translation>%1 %2，地址 %3</translation>
    </message>
    <message>
        <source>The port could not be opened for the scan.</source>
        <translation>无法打开串口进行扫描。</translation>
    </message>
    <message>
        <source>Stopped after %1 tries.</source>
        <translation>已在 %1 次尝试后停止。</translation>
    </message>
    <message>
        <source>No meter answered in %1 tries. Check the wiring (A and B swapped?), the adapter&apos;s power, and try other speeds or a longer wait.</source>
        <translation>%1 次尝试中没有电表应答。请检查接线（A、B 是否接反？）和转换器的电源，并尝试其他波特率或更长的等待时间。</translation>
    </message>
    <message>
        <source>%1 found in %2 tries. Select one and press &quot;Use Selected Settings&quot; to make its speed and parity the port&apos;s.</source>
        <translation>%2 次尝试中找到 %1。选择一个并按“使用所选设置”，将它的波特率和校验位设为该串口的设置。</translation>
    </message>
    <message>
        <source>1 meter</source>
        <translation>1 个电表</translation>
    </message>
    <message>
        <source>%1 meters</source>
        <translation>%1 个电表</translation>
    </message>
    <message>
        <source>COM%1 at %2 bit/s, parity %3, is now the meter link&apos;s port.</source>
        <translation>COM%1（%2 bit/s，%3）现在是电表通讯的串口。</translation>
    </message>
    <message>
        <source>COM%1 is now %2.</source>
        <translation>COM%1 现在是 %2。</translation>
    </message>
</context>
<context>
    <name>mrv::CMeterLogEdit</name>
    <message>
        <source>log</source>
        <translation>日志</translation>
    </message>
</context>
<context>
    <name>mrv::CMeterRunDlg</name>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>mrv::CMeterSettingDlg</name>
    <message>
        <source>The meter constant %1 is above 65535, the most a meter takes: nothing was written. Correct it in the data file parameters.</source>
        <translation>电表常数 %1 超过电表可接受的最大值 65535：未写入任何内容。请在数据文件参数中更正。</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>mrv::CMeterTestDlg</name>
    <message>
        <source>Meter Test</source>
        <translation>电表测试</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Meter ID:</source>
        <translation>表号：</translation>
    </message>
    <message>
        <source>Test</source>
        <comment>the rows of the test</comment>
        <translation>测试项目</translation>
    </message>
    <message>
        <source>Tolorance</source>
        <translation>允许误差</translation>
    </message>
    <message>
        <source>E total</source>
        <translation>总电量</translation>
    </message>
    <message>
        <source>E total hundredths</source>
        <translation>总电量小数部分</translation>
    </message>
    <message>
        <source>Diff(0.01kWh)</source>
        <translation>误差(0.01kWh)</translation>
    </message>
    <message>
        <source>Test Energy</source>
        <translation>测试电量</translation>
    </message>
    <message>
        <source>Clear Energy if OK</source>
        <translation>合格后清电量</translation>
    </message>
    <message>
        <source>Test</source>
        <comment>run the test</comment>
        <translation>测试</translation>
    </message>
    <message>
        <source>wait</source>
        <comment>mark</comment>
        <translation>等待</translation>
    </message>
    <message>
        <source>pass</source>
        <comment>mark</comment>
        <translation>合格</translation>
    </message>
    <message>
        <source>fail</source>
        <comment>mark</comment>
        <translation>不合格</translation>
    </message>
</context>
<context>
    <name>mrv::CMeterWizardDlg</name>
    <message>
        <source>Port</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Meter ID</source>
        <translation>表号</translation>
    </message>
    <message>
        <source>Skip To Next if OK</source>
        <translation>成功后转到下一个</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Can&apos;t Open This Port!</source>
        <translation>无法打开此串口！</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Can&apos;t Config This Port!</source>
        <translation>无法设置此串口！</translation>
    </message>
    <message>
        <source>Meter Setting</source>
        <translation>电表设置</translation>
    </message>
    <message>
        <source>Set</source>
        <extracomment>the run button of the Meter Setting wizard</extracomment>
        <translation>设置</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置内容</translation>
    </message>
    <message>
        <source>Init,Constant,Priority</source>
        <translation>初始化,电表常数,权限</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>抄表</translation>
    </message>
    <message>
        <source>Mext</source>
        <extracomment>the button to the next meter</extracomment>
        <translation>下一个</translation>
    </message>
    <message>
        <source>抄表内容</source>
        <translation>抄表内容</translation>
    </message>
    <message>
        <source>R Energy</source>
        <translation>读电量</translation>
    </message>
    <message>
        <source>R LM Energy</source>
        <translation>读上月电量</translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation>广播</translation>
    </message>
</context>
<context>
    <name>mrv::COperateDlg</name>
    <message>
        <source>R address</source>
        <translation>读地址</translation>
    </message>
    <message>
        <source>R total energy</source>
        <translation>读总电量</translation>
    </message>
    <message>
        <source>R voltage</source>
        <translation>读电压</translation>
    </message>
    <message>
        <source>R current</source>
        <translation>读电流</translation>
    </message>
    <message>
        <source>R active power</source>
        <translation>读有功功率</translation>
    </message>
    <message>
        <source>R power factor</source>
        <translation>读功率因数</translation>
    </message>
    <message>
        <source>R frequency</source>
        <translation>读频率</translation>
    </message>
    <message>
        <source>R reactive power</source>
        <translation>读无功功率</translation>
    </message>
    <message>
        <source>R import energy</source>
        <translation>读正向电量</translation>
    </message>
    <message>
        <source>R export energy</source>
        <translation>读反向电量</translation>
    </message>
    <message>
        <source>R trip energy(key meter)</source>
        <translation>读跳闸电量(按键表)</translation>
    </message>
    <message>
        <source>R apparent power(7P)</source>
        <translation>读视在功率(7P)</translation>
    </message>
    <message>
        <source>W address</source>
        <translation>写地址</translation>
    </message>
    <message>
        <source>W baudrate</source>
        <translation>写波特率</translation>
    </message>
    <message>
        <source>Operate</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>port</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>baudrate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>address 0 broadcast address</source>
        <translation>地址 0 为广播地址</translation>
    </message>
    <message>
        <source>7P meter ,please select</source>
        <translation>7P 表请选择</translation>
    </message>
    <message>
        <source>read</source>
        <comment>operations that read the meter</comment>
        <translation>读</translation>
    </message>
    <message>
        <source>write</source>
        <comment>operations that program the meter</comment>
        <translation>写</translation>
    </message>
    <message>
        <source>baudrate select</source>
        <translation>波特率选择</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>close</source>
        <comment>the dialog</comment>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Please enter an integer between 0 and 247.</source>
        <translation>请输入 0 到 247 之间的整数。</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>请输入整数。</translation>
    </message>
    <message>
        <source>Money must be an amount from 0 to 999999.99 with at most two decimals.</source>
        <translation>金额必须在 0 到 999999.99 之间，最多两位小数。</translation>
    </message>
</context>
<context>
    <name>mrv::CReadingDlg</name>
    <message>
        <source>The reading could not be written to the data file!</source>
        <translation>读数无法写入数据文件！</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Read All</source>
        <translation>全部抄读</translation>
    </message>
    <message>
        <source>Read every meter of the Block shown, trying those that fail again after the others</source>
        <translation>抄读所显示小区的每块电表，未抄到的在其他电表之后重试</translation>
    </message>
    <message>
        <source>Read All progress</source>
        <translation>全部抄读进度</translation>
    </message>
    <message>
        <source>%v of %m meters</source>
        <translation>%v / %m 块电表</translation>
    </message>
    <message>
        <source>Tick &quot;R Energy&quot; or &quot;R LM Energy&quot;: Read All stores what it reads.</source>
        <translation>请勾选“读电量”或“读上月电量”：全部抄读会保存所抄到的读数。</translation>
    </message>
    <message>
        <source>Can&apos;t lock %1 for this run: %2.</source>
        <translation>无法为本次抄读锁定 %1：%2。</translation>
    </message>
    <message>
        <source>%1 is being read by another run (process %2); nothing was read.</source>
        <translation>%1 正由另一次抄读使用（进程 %2）；本次未抄读任何电表。</translation>
    </message>
</context>
</TS>
