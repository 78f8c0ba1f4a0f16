<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
<context>
    <name>AtomicFile</name>
    <message>
        <source>無法寫入檔案 %1: 不是一般檔案</source>
        <translation>Cannot write the file %1: it is not a regular file</translation>
    </message>
    <message>
        <source>磁碟已滿或檔案過大</source>
        <translation>the disk is full or the file too large</translation>
    </message>
    <message>
        <source>無法寫入檔案 %1: %2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>加速度 × %1</source>
        <translation>acceleration × %1</translation>
    </message>
    <message>
        <source>不加減速</source>
        <translation>no ramps</translation>
    </message>
    <message>
        <source>速度 × %1, %2 (殘差 %3 ms, %4 個移動)</source>
        <translation>speed × %1, %2 (residual %3 ms, %4 moves)</translation>
    </message>
</context>
<context>
    <name>Cell</name>
    <message>
        <source>控制器 1</source>
        <translation>Controller 1</translation>
    </message>
    <message>
        <source>控制器需要一個名稱.</source>
        <translation>A controller needs a name.</translation>
    </message>
    <message>
        <source>控制器的名稱不能含有「=」: %1</source>
        <translation>A controller&apos;s name cannot contain &quot;=&quot;: %1</translation>
    </message>
    <message>
        <source>控制器「%1」需要一個連接埠.</source>
        <translation>Controller &quot;%1&quot; needs a port.</translation>
    </message>
    <message>
        <source>已有名為「%1」的控制器.</source>
        <translation>There is already a controller named &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>連接埠 %1 已由控制器「%2」使用.</source>
        <translation>Port %1 is already used by controller &quot;%2&quot;.</translation>
    </message>
</context>
<context>
    <name>Console</name>
    <message>
        <source>「%1」不是數字, 指令未送出!</source>
        <translation>&quot;%1&quot; is not a number; nothing was sent!</translation>
    </message>
</context>
<context>
    <name>ControllerFaults</name>
    <message>
        <source>不是數字</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <source>不是整數</source>
        <translation>is not a whole number</translation>
    </message>
    <message>
        <source>超出範圍</source>
        <translation>is out of range</translation>
    </message>
    <message>
        <source>控制器不接受「%1」: 值%2</source>
        <translation>the controller does not accept &quot;%1&quot;: the value %2</translation>
    </message>
    <message>
        <source>標籤 &quot;%1&quot; 不存在</source>
        <translation>label &quot;%1&quot; does not exist</translation>
    </message>
    <message>
        <source>「%1」的標籤不存在</source>
        <translation>the label of &quot;%1&quot; does not exist</translation>
    </message>
    <message>
        <source>呼叫超過 %1 層, 控制器在這裡停止</source>
        <translation>calls nest deeper than %1 levels: the controller stops here</translation>
    </message>
    <message>
        <source>這個呼叫還沒返回就可能再被呼叫, 超過 %1 層時控制器停止</source>
        <translation>this call may be made again before it returns: the controller stops beyond %1 levels</translation>
    </message>
    <message>
        <source>呼叫之中再呼叫, 一層套一層會超過 %1 層, 控制器會在這裡停止</source>
        <translation>calls within calls nest deeper than %1 levels: the controller stops here</translation>
    </message>
    <message>
        <source>轉換後的指令超過 %1 位元組, 控制器收不下</source>
        <translation>the translated command is longer than %1 bytes, more than the controller takes</translation>
    </message>
    <message>
        <source>程式超過 %1 行, 控制器收不下</source>
        <translation>the program is longer than %1 lines, more than the controller takes</translation>
    </message>
    <message>
        <source>模擬不認得「%1」, 模擬時略過</source>
        <translation>the dry run does not know &quot;%1&quot; and skips it</translation>
    </message>
</context>
<context>
    <name>DirectEntries</name>
    <message>
        <source>請輸入延遲時間{1000為1秒}</source>
        <translation>Enter the delay {1000 is 1 second}</translation>
    </message>
    <message>
        <source>延遲時間</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>請輸入呼叫標籤名稱:</source>
        <translation>Enter the label to call:</translation>
    </message>
    <message>
        <source>標籤</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>請輸入迴圈次數:</source>
        <translation>Enter how often the loop runs:</translation>
    </message>
    <message>
        <source>迴圈</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>請輸入跳至標籤名稱:</source>
        <translation>Enter the label to jump to:</translation>
    </message>
    <message>
        <source>跳至標籤</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>請輸入標籤名稱:</source>
        <translation>Enter the label name:</translation>
    </message>
</context>
<context>
    <name>DryRun</name>
    <message>
        <source>第 %1 列: %2</source>
        <translation>Row %1: %2</translation>
    </message>
    <message>
        <source>錯誤, 停止: </source>
        <translation>error, stopped: </translation>
    </message>
    <message>
        <source>等待輸入 %1, 沒有排定的變化</source>
        <translation>waits for input %1, and no change of it is scheduled</translation>
    </message>
    <message>
        <source>模擬 %1 秒後停止: 程式仍在執行</source>
        <translation>stopped after %1 s of simulated time: the program still runs</translation>
    </message>
    <message>
        <source>無法模擬: %1</source>
        <translation>Cannot dry-run: %1</translation>
    </message>
    <message>
        <source>程式執行完畢</source>
        <translation>The program ran to its end</translation>
    </message>
    <message>
        <source>一次執行時間: %1 秒</source>
        <translation>Cycle time: %1 s</translation>
    </message>
    <message>
        <source>模擬到 %1 秒, 程式沒有跑完: 沒有一次執行時間</source>
        <translation>Simulated to %1 s without the program ending: no cycle time</translation>
    </message>
    <message>
        <source>移動距離: %1</source>
        <translation>Distance travelled: %1</translation>
    </message>
    <message>
        <source>位置範圍: %1 .. %2</source>
        <translation>Positions: %1 .. %2</translation>
    </message>
    <message>
        <source>第 %1 列等待輸入 %2 秒</source>
        <translation>Row %1 waits %2 s for its input</translation>
    </message>
    <message>
        <source>等待輸入 %1 變 %2</source>
        <translation>waits for input %1 to become %2</translation>
    </message>
    <message>
        <source>移動到 %1</source>
        <translation>moves to %1</translation>
    </message>
    <message>
        <source>延遲到 %1 秒</source>
        <translation>delays until %1 s</translation>
    </message>
    <message>
        <source>第 %1 列</source>
        <translation>row %1</translation>
    </message>
    <message>
        <source>時間: %1 秒</source>
        <translation>Time: %1 s</translation>
    </message>
    <message>
        <source>程式已結束</source>
        <translation>The program has ended</translation>
    </message>
    <message>
        <source>目前: 第 %1 列</source>
        <translation>At: row %1</translation>
    </message>
    <message>
        <source>位置: %1</source>
        <translation>Position: %1</translation>
    </message>
    <message>
        <source>速度: %1</source>
        <translation>Speed: %1</translation>
    </message>
    <message>
        <source>輸入 1-8: %1</source>
        <translation>Inputs 1-8: %1</translation>
    </message>
    <message>
        <source>輸出 1-4: %1</source>
        <translation>Outputs 1-4: %1</translation>
    </message>
    <message>
        <source>呼叫 (第 %1 列): 等待返回</source>
        <translation>Call (row %1): waits for its return</translation>
    </message>
    <message>
        <source>假設: 第 %1 列等待輸入 %2 變 %3 %4 秒, %5 次</source>
        <translation>Assumed: row %1 waits %4 s for input %2 to become %3, %5 times</translation>
    </message>
    <message>
        <source>停止於第 %1 列</source>
        <translation>Stopped at row %1</translation>
    </message>
    <message>
        <source>設定: VM %1, VA %2</source>
        <translation>In force: VM %1, VA %2</translation>
    </message>
    <message>
        <source>迴圈 (第 %1 列): 第 %2 次, 共 %3 次</source>
        <translation>Loop (row %1): round %2 of %3</translation>
    </message>
    <message>
        <source>執行 %1 行後停止: 程式可能是無窮迴圈</source>
        <translation>stopped after %1 lines: the program may loop forever</translation>
    </message>
    <message>
        <source>模擬 %1 秒後停止: 仍在等待輸入 %2 變 %3</source>
        <translation>stopped after %1 s of simulated time: still waiting for input %2 to become %3</translation>
    </message>
</context>
<context>
    <name>FORM1</name>
    <message>
        <source>無法啟動模擬器: %1</source>
        <translation>Cannot start the simulator: %1</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>%1 已存在, 是否取代?</source>
        <translation>%1 exists already. Replace it?</translation>
    </message>
</context>
<context>
    <name>Link</name>
    <message>
        <source>沒有設定連接埠, 請由 設定 &gt; COM_PORT 選擇.</source>
        <translation>No port is set; choose one under Settings &gt; COM_PORT.</translation>
    </message>
    <message>
        <source>無法開啟連接埠 %1: %2</source>
        <translation>Cannot open the port %1: %2</translation>
    </message>
</context>
<context>
    <name>Listing</name>
    <message>
        <source>行數</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>指令</source>
        <translation>Keyword</translation>
    </message>
    <message>
        <source>數據</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>X 座標</source>
        <translation>X</translation>
    </message>
    <message>
        <source>附註</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>控制器指令</source>
        <translation>Controller text</translation>
    </message>
    <message>
        <source>PDF 檔(*.pdf) | *.pdf</source>
        <translation>PDF files (*.pdf) | *.pdf</translation>
    </message>
    <message>
        <source>CSV 檔(*.csv) | *.csv</source>
        <translation>CSV files(*.csv) | *.csv</translation>
    </message>
</context>
<context>
    <name>MeasuredRun</name>
    <message>
        <source>實測執行時間: %1 秒 (模擬 %2 秒)</source>
        <translation>Measured run time: %1 s (dry run %2 s)</translation>
    </message>
    <message>
        <source>量測已停止: 到達 %1 / %2 個移動, 經過 %3 秒</source>
        <translation>Measurement stopped: %1 of %2 moves reached, %3 s in</translation>
    </message>
    <message>
        <source>量測中: 到達 %1 / %2 個移動, 經過 %3 秒</source>
        <translation>Measuring: %1 of %2 moves reached, %3 s in</translation>
    </message>
    <message>
        <source>模擬執行沒有跑完: 量測到按下停止為止</source>
        <translation>The dry run does not end: measuring until Stop is pressed</translation>
    </message>
    <message>
        <source>第 %1 列: 實測 %2 秒, 模擬 %3 秒, 差 %4 秒 (%5 次)</source>
        <translation>Row %1: measured %2 s, dry run %3 s, difference %4 s (%5×)</translation>
    </message>
    <message>
        <source>實測週期: %1 秒 (±%2 ms, %3 次; 模擬 %4 秒)</source>
        <translation>Measured cycle: %1 s (±%2 ms over %3; dry run %4 s)</translation>
    </message>
    <message>
        <source>控制器沒有回答位置 (?PE)</source>
        <translation>The controller does not answer its position (?PE)</translation>
    </message>
    <message>
        <source>控制器沒有回答位置 (?PE), %1 次</source>
        <translation>The controller did not answer its position (?PE), %1 times</translation>
    </message>
    <message>
        <source>控制器對位置 (?PE) 的回答不是數字: 「%1」, %2 次</source>
        <translation>The controller answered its position (?PE) with no number: &quot;%1&quot;, %2 times</translation>
    </message>
    <message>
        <source>執行 %1 秒仍未結束, 已停止程式</source>
        <translation>The run has not ended after %1 s: the program was stopped</translation>
    </message>
    <message>
        <source>已超過模擬執行時間的 10 倍仍未結束: 滑台是否受阻, 或程式在等待輸入?</source>
        <translation>Not ended after 10 times the dry run&apos;s time: is the slide blocked, or does the program wait for an input?</translation>
    </message>
</context>
<context>
    <name>PortRecords</name>
    <message>
        <source>控制器中的程式與編輯中的不同 (上次上傳: %1, %2)</source>
        <translation>The controller holds a program other than the one being edited (last upload: %1, %2)</translation>
    </message>
    <message>
        <source>已儲存</source>
        <translation>stored</translation>
    </message>
    <message>
        <source>未儲存</source>
        <translation>not stored</translation>
    </message>
</context>
<context>
    <name>ProgramChecks</name>
    <message>
        <source>迴圈次數 &quot;%1&quot; 不是 1 以上的整數</source>
        <translation>loop count &quot;%1&quot; is not a whole number of 1 or more</translation>
    </message>
    <message>
        <source>%1的值 &quot;%2&quot; 不是數字</source>
        <translation>%1 &quot;%2&quot; is not a number</translation>
    </message>
    <message>
        <source>%1的值 &quot;%2&quot; 不是整數</source>
        <translation>%1 &quot;%2&quot; is not a whole number</translation>
    </message>
    <message>
        <source>%1的值 &quot;%2&quot; 不在 %3 到 %4 之間</source>
        <translation>%1 &quot;%2&quot; is not between %3 and %4</translation>
    </message>
    <message>
        <source>標籤 &quot;%1&quot; 已在第 %2 列定義過</source>
        <translation>label &quot;%1&quot; is already defined in row %2</translation>
    </message>
    <message>
        <source>有 Big5 無法表示的字元</source>
        <translation>has characters Big5 cannot hold</translation>
    </message>
    <message>
        <source>不認得的關鍵字 &quot;%1&quot;, 這一列不會送到控制器</source>
        <translation>unknown keyword &quot;%1&quot;: this row is not sent to the controller</translation>
    </message>
    <message>
        <source>%1 列不會轉換成控制器的指令</source>
        <translation>%1 rows do not become controller commands</translation>
    </message>
    <message>
        <source>輸出 &quot;%1&quot; 不在 1 到 %2 之間, 控制器可能沒有這個輸出</source>
        <translation>output &quot;%1&quot; is not between 1 and %2: the controller may not have it</translation>
    </message>
    <message>
        <source>速度為 0, 之後的移動不會動</source>
        <translation>speed 0: the moves after it do not move</translation>
    </message>
    <message>
        <source>移動之前沒有設定速度</source>
        <translation>no speed is set before this move</translation>
    </message>
    <message>
        <source>沒有任何呼叫會回到這個返回</source>
        <translation>no call ever returns through this return</translation>
    </message>
    <message>
        <source>跳至標籤之後, 沒有任何跳躍會到這一列</source>
        <translation>follows a jump, and no jump ever reaches this row</translation>
    </message>
    <message>
        <source>第 %1 列: %2: %3</source>
        <translation>Row %1: %2: %3</translation>
    </message>
    <message>
        <source>錯誤</source>
        <translation>error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>附註含有控制字元: 不會送到控制器, 但其他編輯器可能無法照原樣讀回</source>
        <translation>a note holds a control character: it is never sent, but another editor may not read it back as it is</translation>
    </message>
    <message>
        <source>迴圈次數 &quot;%1&quot; 超過本工具的安全上限 %2</source>
        <translation>loop count &quot;%1&quot; is above this tool&apos;s safe limit %2</translation>
    </message>
    <message>
        <source>%1的值 &quot;%2&quot; 不在本工具的安全範圍 %3 到 %4 之間</source>
        <translation>%1 &quot;%2&quot; is outside this tool&apos;s safe range %3 to %4</translation>
    </message>
</context>
<context>
    <name>ProgramFile</name>
    <message>
        <source>第 %1 列有換行或控制字元, 無法存檔!</source>
        <translation>Row %1 holds a line break or a control character; the file was not saved!</translation>
    </message>
    <message>
        <source>第 %1 列有 Big5 無法表示的字元, 無法存檔!</source>
        <translation>Row %1 holds characters Big5 cannot hold; the file was not saved!</translation>
    </message>
    <message>
        <source>第 %1 列超過 %2 位元組, 無法存檔!</source>
        <translation>Row %1 is longer than %2 bytes; the file was not saved!</translation>
    </message>
    <message>
        <source>第 %1 行過短, 讀取到此為止; 之後還有 %2 行%3未讀入.</source>
        <translation>Line %1 is too short: reading stopped there; %2%3 lines after it were not read.</translation>
    </message>
    <message>
        <source>以上</source>
        <translation> or more</translation>
    </message>
    <message>
        <source>不是程式檔 (含有二進位資料), 無法開啟!</source>
        <translation>Not a program file (it holds binary data); cannot open it!</translation>
    </message>
    <message>
        <source>不是程式檔 (第 %1 行有無法辨識的字元), 無法開啟!</source>
        <translation>Not a program file (line %1 holds unreadable characters); cannot open it!</translation>
    </message>
    <message>
        <source>第 1 行的標題列無法辨識, 已改用標準標題列.</source>
        <translation>The header row in line 1 was unreadable; the standard header row took its place.</translation>
    </message>
    <message>
        <source>第 %1 行: 程式超過500列, 無法開啟!</source>
        <translation>Line %1: the program has more than 500 rows; cannot open it!</translation>
    </message>
    <message>
        <source>第 %1 行超過五個欄位, 無法開啟!</source>
        <translation>Line %1 has more than five fields; cannot open it!</translation>
    </message>
    <message>
        <source>檔案中沒有程式資料, 無法開啟!</source>
        <translation>The file holds no program; cannot open it!</translation>
    </message>
    <message>
        <source>讀取失敗: %1</source>
        <translation>Reading failed: %1</translation>
    </message>
    <message>
        <source>不是程式檔 (第 %1 行超過 %2 位元組), 無法開啟!</source>
        <translation>Not a program file (line %1 is longer than %2 bytes); cannot open it!</translation>
    </message>
    <message>
        <source>無法開啟檔案 %1: %2</source>
        <translation>Cannot open the file %1: %2</translation>
    </message>
    <message>
        <source>不是一般檔案</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>沒有檔名</source>
        <translation>no file name</translation>
    </message>
</context>
<context>
    <name>RowCaptions</name>
    <message>
        <source>絕對移動</source>
        <translation>Move To</translation>
    </message>
    <message>
        <source>相對移動</source>
        <translation>Move By</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>延遲</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>迴圈</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>迴圈結束</source>
        <translation>End Loop</translation>
    </message>
    <message>
        <source>標籤</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>跳至標籤</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>呼叫標籤</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>回原點</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>座標歸零</source>
        <translation>Zero</translation>
    </message>
    <message>
        <source>自設</source>
        <translation>Custom</translation>
    </message>
</context>
<context>
    <name>RowKinds</name>
    <message>
        <source>移動</source>
        <translation>the move</translation>
    </message>
    <message>
        <source>輸入</source>
        <translation>the input</translation>
    </message>
    <message>
        <source>輸出</source>
        <translation>the output</translation>
    </message>
    <message>
        <source>標籤</source>
        <translation>the label</translation>
    </message>
    <message>
        <source>脈波時間</source>
        <translation>the pulse time</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>the speed</translation>
    </message>
    <message>
        <source>延遲</source>
        <translation>the delay</translation>
    </message>
    <message>
        <source>迴圈次數</source>
        <translation>the loop count</translation>
    </message>
    <message>
        <source>輸出位元值</source>
        <translation>the output pattern</translation>
    </message>
    <message>
        <source>自設步驟</source>
        <translation>the custom step</translation>
    </message>
    <message>
        <source>註解</source>
        <translation>the comment</translation>
    </message>
</context>
<context>
    <name>RunHistory</name>
    <message>
        <source>執行紀錄無法使用: 沒有 SQLite 的資料庫驅動程式</source>
        <translation>The run history cannot be used: the SQLite database driver is missing</translation>
    </message>
    <message>
        <source>執行紀錄無法使用: 無法建立資料夾 %1</source>
        <translation>The run history cannot be used: the folder %1 cannot be made</translation>
    </message>
    <message>
        <source>執行紀錄 %1 無法使用: %2</source>
        <translation>The run history %1 cannot be used: %2</translation>
    </message>
    <message>
        <source>它是較新版本的工具建立的 (第 %1 版)</source>
        <translation>a newer version of the tool made it (schema %1)</translation>
    </message>
    <message>
        <source>已結束</source>
        <translation>ended</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>逾時</source>
        <translation>timed out</translation>
    </message>
    <message>
        <source>連線中斷</source>
        <translation>link lost</translation>
    </message>
</context>
<context>
    <name>SerialPort</name>
    <message>
        <source>找不到這個連接埠</source>
        <translation>there is no such port</translation>
    </message>
    <message>
        <source>沒有權限使用這個連接埠, 或它正被其他程式使用</source>
        <translation>no permission to use the port, or another program is using it</translation>
    </message>
    <message>
        <source>連接埠已經開啟</source>
        <translation>the port is open already</translation>
    </message>
    <message>
        <source>連接埠沒有開啟</source>
        <translation>the port is not open</translation>
    </message>
    <message>
        <source>無法寫入連接埠</source>
        <translation>cannot write to the port</translation>
    </message>
    <message>
        <source>無法讀取連接埠</source>
        <translation>cannot read from the port</translation>
    </message>
    <message>
        <source>連接埠已無法使用 (裝置被拔除或被關閉)</source>
        <translation>the port is gone (the device was unplugged or closed)</translation>
    </message>
    <message>
        <source>連接埠不支援這項操作</source>
        <translation>the port does not support this</translation>
    </message>
    <message>
        <source>連接埠逾時</source>
        <translation>the port timed out</translation>
    </message>
    <message>
        <source>連接埠發生不明的錯誤</source>
        <translation>an unknown error of the port</translation>
    </message>
    <message>
        <source>%1 (系統訊息: %2)</source>
        <translation>%1 (the system says: %2)</translation>
    </message>
    <message>
        <source> (沒有權限: 請將使用者加入擁有該裝置的群組, 通常是 dialout, 再重新登入)</source>
        <translation> (no permission: add the user to the group that owns the device, usually dialout, and log in again)</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>無法以 Big5 寫入: %1</source>
        <translation>Cannot write in Big5: %1</translation>
    </message>
    <message>
        <source>%1 不是一般檔案, 未讀取</source>
        <translation>%1 is not a regular file: not read</translation>
    </message>
    <message>
        <source>%1 超過 %2 位元組, 不是設定檔, 未讀取</source>
        <translation>%1 is larger than %2 bytes, no settings file: not read</translation>
    </message>
</context>
<context>
    <name>ShadowRun</name>
    <message>
        <source>  可能: %1</source>
        <translation>  Perhaps: %1</translation>
    </message>
    <message>
        <source>執行完畢 (實測 %1 秒)</source>
        <translation>Run complete (measured %1 s)</translation>
    </message>
    <message>
        <source>從第 %1 列起無法跟隨實機: %2</source>
        <translation>Cannot follow the machine from row %1 on: %2</translation>
    </message>
    <message>
        <source>控制器沒有回答位置 (?PE)</source>
        <translation>The controller does not answer its position (?PE)</translation>
    </message>
    <message>
        <source>控制器對位置 (?PE) 的回答不是數字: 「%1」</source>
        <translation>The controller&apos;s answer to the position query (?PE) is no number: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>連線中斷</source>
        <translation>link lost</translation>
    </message>
    <message>
        <source>模型不認得這一列的控制器文字</source>
        <translation>the model does not know this row&apos;s controller text</translation>
    </message>
    <message>
        <source>實機提前停止, 約在第 %1 列</source>
        <translation>The machine stopped early, at about row %1</translation>
    </message>
    <message>
        <source>實機與程式不符, 約在第 %1 列</source>
        <translation>The machine differs from the program, at about row %1</translation>
    </message>
    <message>
        <source>控制器存有別的程式</source>
        <translation>the controller holds another program</translation>
    </message>
    <message>
        <source>滑台被擋住或推動</source>
        <translation>the slide was blocked or pushed</translation>
    </message>
    <message>
        <source>輸入在兩次讀取之間變過</source>
        <translation>an input changed between two readings</translation>
    </message>
    <message>
        <source>控制器的程式停止了 (停止鍵、錯誤或斷電)</source>
        <translation>the controller&apos;s program stopped (a stop key, an error or a power cut)</translation>
    </message>
    <message>
        <source>滑台被擋住</source>
        <translation>the slide was blocked</translation>
    </message>
    <message>
        <source>無法再跟隨實機, 模型停止: %1</source>
        <translation>Cannot follow the machine any further, the model stopped: %1</translation>
    </message>
</context>
<context>
    <name>TraceFile</name>
    <message>
        <source>第 %1 行有 Big5 無法表示的字元: %2</source>
        <translation>Line %1 holds characters Big5 cannot hold: %2</translation>
    </message>
</context>
<context>
    <name>Translator</name>
    <message>
        <source>迴圈數目未成對!</source>
        <translation>Loops do not pair up!</translation>
    </message>
    <message>
        <source>迴圈數目超過50個!</source>
        <translation>More than 50 loops!</translation>
    </message>
    <message>
        <source>程式超過1001行!</source>
        <translation>The program is longer than 1001 lines!</translation>
    </message>
    <message>
        <source>含有控制字元 (如 CR 或 ESC), 不能送到控制器!</source>
        <translation>Holds control characters (such as CR or ESC); cannot be sent to the controller!</translation>
    </message>
    <message>
        <source>第 %1 列: %2</source>
        <translation>Row %1: %2</translation>
    </message>
</context>
<context>
    <name>Upload</name>
    <message>
        <source>是否儲存程式?</source>
        <translation>Store the program on the controller?</translation>
    </message>
    <message>
        <source>現在執行程式?</source>
        <translation>Run the program now?</translation>
    </message>
</context>
<context>
    <name>tql::CellConsole</name>
    <message>
        <source>通訊監視 - %1</source>
        <translation>Wire Monitor - %1</translation>
    </message>
</context>
<context>
    <name>tql::CellDialog</name>
    <message>
        <source>控制器</source>
        <translation>Controllers</translation>
    </message>
    <message>
        <source>名稱</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>連接埠</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>移除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>這次執行的控制器由命令列指定, 變更不會儲存.</source>
        <translation>The command line named this run&apos;s controllers: changes are not kept.</translation>
    </message>
    <message>
        <source>名稱:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>連接埠:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>關閉</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>DATA.TXT 的連接埠 (設定 &gt; COM_PORT)</source>
        <translation>DATA.TXT&apos;s port (Settings &gt; COM_PORT)</translation>
    </message>
</context>
<context>
    <name>tql::ConsolePanel</name>
    <message>
        <source>上傳中...</source>
        <translation>Uploading...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>上傳</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>上傳中... 第 %1 / %2 行</source>
        <translation>Uploading... line %1 of %2</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>檢查</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>加速度</source>
        <comment>the console frame&apos;s title</comment>
        <translation>Console</translation>
    </message>
    <message>
        <source>連線</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>斷線</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>原點</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>儲存參數</source>
        <translation>Save Setup</translation>
    </message>
    <message>
        <source>加速度</source>
        <translation>Accel</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>定位</source>
        <translation>Go To</translation>
    </message>
    <message>
        <source>立即指令</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>停止控制器執行中的程式 (F12)</source>
        <translation>Stop the program the controller runs (F12)</translation>
    </message>
    <message>
        <source>滑台座標</source>
        <translation>Slide position</translation>
    </message>
    <message>
        <source>內部加速度</source>
        <translation>Controller VA</translation>
    </message>
    <message>
        <source>內部速度</source>
        <translation>Controller VM</translation>
    </message>
    <message>
        <source>控制回應</source>
        <translation>Reply</translation>
    </message>
    <message>
        <source>輸入 %1</source>
        <translation>Input %1</translation>
    </message>
    <message>
        <source>上傳 - %1</source>
        <translation>Upload - %1</translation>
    </message>
</context>
<context>
    <name>tql::ControllerSession</name>
    <message>
        <source>通訊有誤!
連接埠 %1 在 200 ms 內沒有任何回應.</source>
        <translation>No communication!
The port %1 gave no answer within 200 ms.</translation>
    </message>
    <message>
        <source>訊息</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>指令有 Big5 無法表示的字元, 未送出: %1</source>
        <translation>The command holds characters Big5 cannot hold; it was not sent: %1</translation>
    </message>
    <message>
        <source> 準備連線終止運作中程式</source>
        <translation> Connecting: the running program will be stopped</translation>
    </message>
    <message>
        <source>連線中</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未連線</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>連接埠 %1 已中斷, 連線結束: %2</source>
        <translation>The port %1 was lost; the connection ended: %2</translation>
    </message>
    <message>
        <source> Not Response !!  連線錯誤 !</source>
        <translation> No response!  Connection failed!</translation>
    </message>
    <message>
        <source>是否儲存參數?</source>
        <translation>Save the parameters in the controller?</translation>
    </message>
    <message>
        <source> 連線錯誤 !</source>
        <translation> Not connected!</translation>
    </message>
    <message>
        <source>程式有錯誤:
</source>
        <translation>The program has errors:
</translation>
    </message>
    <message>
        <source>
... 另有 %1 個錯誤</source>
        <translation>
... and %1 more errors</translation>
    </message>
    <message>
        <source>

是否仍要上傳?</source>
        <translation>

Upload it anyway?</translation>
    </message>
    <message>
        <source>第 %1 列有 Big5 無法表示的字元, 無法上傳!</source>
        <translation>Row %1 holds characters Big5 cannot hold; cannot upload!</translation>
    </message>
    <message>
        <source>無法寫入記錄檔: %1</source>
        <translation>Cannot write the trace file: %1</translation>
    </message>
    <message>
        <source>尚未連線</source>
        <translation>Not connected yet</translation>
    </message>
    <message>
        <source>上傳已取消: 控制器現在存有不完整的程式 (已送出 %1 / %2 行), 未儲存也未執行.
請重新上傳完整的程式.</source>
        <translation>Upload cancelled: the controller now holds an incomplete program (%1 of %2 lines sent), neither stored nor run.
Upload the whole program again.</translation>
    </message>
    <message>
        <source>控制器現在可能存有不完整的程式 (已送出 %1 / %2 行), 請重新連線後再上傳完整的程式.</source>
        <translation>The controller may now hold an incomplete program (%1 of %2 lines sent); connect again and upload the whole program.</translation>
    </message>
    <message>
        <source>控制器通訊中 (上傳或詢問), 請稍後再試!</source>
        <translation>The controller is busy (an upload or a query); try again shortly!</translation>
    </message>
</context>
<context>
    <name>tql::DryRunWindow</name>
    <message>
        <source>模擬執行</source>
        <translation>Dry Run</translation>
    </message>
    <message>
        <source>執行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>儲存圖表...</source>
        <translation>Save Chart...</translation>
    </message>
    <message>
        <source>模型的假設: 移動以 VM 速度、VA 加速度的梯形曲線進行; 實際控制器的曲線可能不同.</source>
        <translation>The model assumes moves on a trapezoid of the VM speed and the VA acceleration; the real controller&apos;s curve may differ.</translation>
    </message>
    <message>
        <source>起始位置:</source>
        <translation>Start position:</translation>
    </message>
    <message>
        <source>輸入變化 (一行一個):</source>
        <translation>Input changes (one a line):</translation>
    </message>
    <message>
        <source>起始位置「%1」不是數字!</source>
        <translation>The start position &quot;%1&quot; is not a number!</translation>
    </message>
    <message>
        <source>看不懂「%1」; 請寫成「輸入 3 在 2.0 秒時變 1」.</source>
        <translation>Cannot read &quot;%1&quot;; write it as &quot;input 3 at 2.0 s becomes 1&quot;.</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>Seconds</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>PNG 圖檔(*.png) | *.png</source>
        <translation>PNG images(*.png) | *.png</translation>
    </message>
    <message>
        <source>輸入 (開始時; 暫停時可切換)</source>
        <translation>Inputs (at the start; switch them while paused)</translation>
    </message>
    <message>
        <source>輸入 3 在 2.0 秒時變 1
輸入 3 在等待 0.5 秒後變 1</source>
        <translation>input 3 at 2.0 s becomes 1
input 3 0.5 s into a wait becomes 1</translation>
    </message>
    <message>
        <source>暫停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>單步</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>執行到此列</source>
        <translation>Run to Row</translation>
    </message>
    <message>
        <source>重設</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>最快</source>
        <translation>Fastest</translation>
    </message>
    <message>
        <source>%1 倍</source>
        <translation>%1×</translation>
    </message>
    <message>
        <source>機器狀態</source>
        <translation>Machine state</translation>
    </message>
    <message>
        <source>暫停於第 %1 列 (中斷點)</source>
        <translation>Paused at row %1 (breakpoint)</translation>
    </message>
    <message>
        <source>暫停於第 %1 列: %2, 沒有排定的變化; 切換輸入後繼續</source>
        <translation>Paused at row %1: %2, and no change is scheduled; switch the input to go on</translation>
    </message>
    <message>
        <source>暫停於第 %1 列</source>
        <translation>Paused at row %1</translation>
    </message>
    <message>
        <source>程式已修改: 模擬執行已結束.</source>
        <translation>The program was edited: the dry run ended.</translation>
    </message>
    <message>
        <source>請先在程式列表中選取要執行到的列.</source>
        <translation>First choose the row to run to in the program list.</translation>
    </message>
    <message>
        <source>程式沒有任何列, 沒有可模擬執行的內容.</source>
        <translation>The program has no rows: there is nothing to run.</translation>
    </message>
    <message>
        <source>量測執行</source>
        <translation>Measured Run</translation>
    </message>
    <message>
        <source>控制器執行它存有的程式, 滑台的位置畫在模擬的曲線上, 實測時間與模擬的並列</source>
        <translation>The controller runs the program it stores; the slide&apos;s positions are drawn over the dry run&apos;s curve and the measured times shown beside the dry run&apos;s</translation>
    </message>
    <message>
        <source>每 50 ms 取樣</source>
        <translation>Sample every 50 ms</translation>
    </message>
    <message>
        <source>不勾選: 只用連線時每 500 ms 的讀取</source>
        <translation>Unchecked: only the console&apos;s reading every 500 ms</translation>
    </message>
    <message>
        <source>校正</source>
        <translation>Calibrate</translation>
    </message>
    <message>
        <source>以量測到的移動求出速度與加速度的係數, 存為這個連接埠的校正</source>
        <translation>Fits speed and acceleration factors to the measured moves and keeps them as this port&apos;s calibration</translation>
    </message>
    <message>
        <source>使用校正</source>
        <translation>Use calibration</translation>
    </message>
    <message>
        <source>模擬執行採用這個連接埠存下的校正</source>
        <translation>The dry run moves as the calibration kept for this port says</translation>
    </message>
    <message>
        <source>校正需要至少兩個量測到的移動.</source>
        <translation>A calibration needs at least two measured moves.</translation>
    </message>
    <message>
        <source>校正: %1</source>
        <translation>Calibration: %1</translation>
    </message>
    <message>
        <source>使用校正: %1</source>
        <translation>Calibrated: %1</translation>
    </message>
    <message>
        <source>
可能的原因:
</source>
        <translation>
Possible causes:
</translation>
    </message>
    <message>
        <source>

停止控制器的程式?</source>
        <translation>

Stop the controller&apos;s program?</translation>
    </message>
    <message>
        <source>訊息</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>: 已停止控制器的程式</source>
        <translation>: the controller&apos;s program was stopped</translation>
    </message>
    <message>
        <source>  可能: %1</source>
        <translation>  Perhaps: %1</translation>
    </message>
    <message>
        <source>
仍要執行控制器中的程式並量測?</source>
        <translation>
Run and measure the controller&apos;s program anyway?</translation>
    </message>
    <message>
        <source>實機位置: %1</source>
        <translation>Machine position: %1</translation>
    </message>
    <message>
        <source>模型:</source>
        <translation>Model:</translation>
    </message>
</context>
<context>
    <name>tql::FORM1</name>
    <message>
        <source>趨勢</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>檢視(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>通訊監視</source>
        <translation>Wire Monitor</translation>
    </message>
    <message>
        <source>說明(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>關於(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>結束(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>檔案(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>建立新檔(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開啟舊檔(&amp;O)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>儲存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>另存新檔(&amp;A)</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>編輯(&amp;D)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>復原</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>復原 %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>重做 %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>檢查程式</source>
        <translation>Check Program</translation>
    </message>
    <message>
        <source>模擬執行</source>
        <translation>Dry Run</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>Se&amp;ttings</translation>
    </message>
    <message>
        <source>其他...</source>
        <translation>Other...</translation>
    </message>
    <message>
        <source>設定存於 %1</source>
        <translation>Settings kept in %1</translation>
    </message>
    <message>
        <source>未連線</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>TQL400 教導程式 %1
TQL400 單軸運動控制器的教導與程式編寫工具.

Copyright 2026 The tql400 developers.
授權: 專有軟體, 保留所有權利.</source>
        <translation>TQL400 teaching tool %1
Teaching and programming tool for the TQL400 single-axis motion controller.

Copyright 2026 The tql400 developers.
Licence: proprietary, all rights reserved.</translation>
    </message>
    <message>
        <source>關於</source>
        <translation>About</translation>
    </message>
    <message>
        <source>請輸入連接埠名稱或裝置路徑:</source>
        <translation>Enter the port name or the device path:</translation>
    </message>
    <message>
        <source>系統</source>
        <translation>System</translation>
    </message>
    <message>
        <source>無法儲存語言的選擇, 下次啟動時語言不變.</source>
        <translation>The language could not be stored; the next start keeps the language it had.</translation>
    </message>
    <message>
        <source>量測執行</source>
        <translation>Measured Run</translation>
    </message>
    <message>
        <source>執行紀錄</source>
        <translation>Run History</translation>
    </message>
    <message>
        <source>剪下</source>
        <translation>Cut Rows</translation>
    </message>
    <message>
        <source>複製</source>
        <translation>Copy Rows</translation>
    </message>
    <message>
        <source>貼上</source>
        <translation>Paste Rows</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move Rows Up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move Rows Down</translation>
    </message>
    <message>
        <source>最近開啟的檔案(&amp;R)</source>
        <translation>&amp;Recent Files</translation>
    </message>
    <message>
        <source>(沒有)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>移除不存在的檔案</source>
        <translation>Remove Missing Files</translation>
    </message>
    <message>
        <source>操作說明</source>
        <translation>Walkthrough</translation>
    </message>
    <message>
        <source>按鍵</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>找不到操作說明 %1; 原始碼中的 docs/walkthrough.md 是同一份.</source>
        <translation>The walkthrough %1 is not found; docs/walkthrough.md in the sources is the same.</translation>
    </message>
    <message>
        <source>F7	檢查程式
F8	模擬執行
F9	中斷點 (程式列表中)
F12	停止控制器的程式
Esc	取消插入或修改
Delete	刪除選取的列
Ctrl+Z / Ctrl+Y	復原 / 重做
Ctrl+X / Ctrl+C / Ctrl+V	剪下 / 複製 / 貼上 選取的列
Alt+Up / Alt+Down	上移 / 下移 選取的列
拖放	移動選取的列
Ctrl+N / Ctrl+O / Ctrl+S	建立新檔 / 開啟舊檔 / 儲存
Ctrl+P	列印清單 (PDF)
Ctrl+Q	結束</source>
        <translation>F7	Check Program
F8	Dry Run
F9	Breakpoint (in the program list)
F12	Stop the controller&apos;s program
Esc	Drop the armed insert or modify
Delete	Delete the highlighted rows
Ctrl+Z / Ctrl+Y	Undo / Redo
Ctrl+X / Ctrl+C / Ctrl+V	Cut / Copy / Paste the highlighted rows
Alt+Up / Alt+Down	Move the highlighted rows up / down
Drag and drop	Move the highlighted rows
Ctrl+N / Ctrl+O / Ctrl+S	New / Open / Save
Ctrl+P	Print Listing (PDF)
Ctrl+Q	Exit</translation>
    </message>
    <message>
        <source>實機與程式不符時立即停止</source>
        <translation>Stop at Once When the Machine Differs from the Program</translation>
    </message>
    <message>
        <source>模擬器的連接埠, 只用於這次執行 (DATA.TXT 不變)</source>
        <translation>The simulator&apos;s port, for this run only (DATA.TXT unchanged)</translation>
    </message>
    <message>
        <source>未命名的程式</source>
        <translation>Untitled program</translation>
    </message>
    <message>
        <source>列印清單 (PDF)(&amp;P)...</source>
        <translation>&amp;Print Listing (PDF)...</translation>
    </message>
    <message>
        <source>匯出清單 (CSV)(&amp;E)...</source>
        <translation>&amp;Export Listing (CSV)...</translation>
    </message>
    <message>
        <source>沒有機器時</source>
        <translation>Without a Machine</translation>
    </message>
    <message>
        <source>沒有控制器時, 以 tql400 --simulator 啟動: 工具啟動隨附的模擬器, 這次執行使用它的連接埠 (DATA.TXT 不變), 關閉工具時模擬器也結束.
模擬器把 4 個輸出接回輸入 5 到 8.</source>
        <translation>Without a controller, start the tool with tql400 --simulator: it starts the simulator installed beside it and uses its port for this run (DATA.TXT unchanged); the simulator ends when the tool closes.
The simulator loops the 4 outputs back to inputs 5 to 8.</translation>
    </message>
    <message>
        <source>%1: 未連線</source>
        <translation>%1: Not connected</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>控制器「%1」正在通訊, 完成後再移除.</source>
        <translation>Controller &quot;%1&quot; is in the middle of an exchange; remove it when it is done.</translation>
    </message>
    <message>
        <source>上傳到多台控制器</source>
        <translation>Upload to Several Controllers</translation>
    </message>
    <message>
        <source>上傳</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>將編輯中的程式上傳到:</source>
        <translation>Upload the program being edited to:</translation>
    </message>
    <message>
        <source>上傳到多台控制器...</source>
        <translation>Upload to Several Controllers...</translation>
    </message>
    <message>
        <source>控制器...</source>
        <translation>Controllers...</translation>
    </message>
</context>
<context>
    <name>tql::FileCommands</name>
    <message>
        <source>TQL400程式檔(*.tq4) | *.tq4</source>
        <translation>TQL400 programs(*.tq4) | *.tq4</translation>
    </message>
    <message>
        <source>尚未存檔, 是否要存檔 ?</source>
        <translation>The program is not saved. Save it?</translation>
    </message>
    <message>
        <source>檔名「%1」不是系統的編碼: 程式已開啟, 儲存時請以另存新檔取一個檔名.</source>
        <translation>The file name &quot;%1&quot; is not in the system&apos;s encoding: the program is open; give it a name with Save As when you save it.</translation>
    </message>
</context>
<context>
    <name>tql::Form3</name>
    <message>
        <source> X軸距離 :</source>
        <translation> Target X:</translation>
    </message>
    <message>
        <source> X軸座標 :</source>
        <translation> X position:</translation>
    </message>
    <message>
        <source>數值輸入</source>
        <translation>Enter a number</translation>
    </message>
    <message>
        <source>教導輸入</source>
        <translation>Teach</translation>
    </message>
    <message>
        <source> 寸動 :</source>
        <translation> Jog:</translation>
    </message>
    <message>
        <source>定位</source>
        <translation>Go To</translation>
    </message>
    <message>
        <source>連線中</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未連線</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>寸動需要讀到的座標與數字的寸動量!</source>
        <translation>A jog needs a position read from the slide and a number for the step!</translation>
    </message>
    <message>
        <source>無法讀取滑台座標, 未儲存!</source>
        <translation>Cannot read the slide position; nothing was stored!</translation>
    </message>
    <message>
        <source>取目前位置</source>
        <translation>Take position</translation>
    </message>
    <message>
        <source>未連線: 無法移動滑台.</source>
        <translation>Not connected: the slide cannot be moved.</translation>
    </message>
    <message>
        <source>教導輸入: 滑台已放開, 請用手推動; 改選數值輸入才能移動.</source>
        <translation>Teach: the slide is free, push it by hand; choose Enter a number to move it.</translation>
    </message>
    <message>
        <source>無法讀取滑台座標!</source>
        <translation>Cannot read the slide position!</translation>
    </message>
</context>
<context>
    <name>tql::Form4</name>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>輸入 0 到 %1 的速度</source>
        <translation>Type a speed of 0 to %1</translation>
    </message>
    <message>
        <source>速度「%1」不是 0 到 %2 之間的整數!</source>
        <translation>The speed &quot;%1&quot; is not a whole number from 0 to %2!</translation>
    </message>
</context>
<context>
    <name>tql::MR</name>
    <message>
        <source>相對移動</source>
        <translation>Move By</translation>
    </message>
    <message>
        <source> X軸距離 :</source>
        <translation> X distance:</translation>
    </message>
</context>
<context>
    <name>tql::Program</name>
    <message>
        <source>輸入一列</source>
        <translation>Enter Row</translation>
    </message>
    <message>
        <source>刪除一列</source>
        <translation>Delete Row</translation>
    </message>
    <message>
        <source>程式已滿500列, 無法再加入!</source>
        <translation>The program is full at 500 rows; no row can be added!</translation>
    </message>
    <message>
        <source>選取的列已不存在, 請重新選取!</source>
        <translation>The chosen row no longer exists; choose it again!</translation>
    </message>
    <message>
        <source>輸入的文字含有控制字元 (如 Tab 或換行), 未儲存!</source>
        <translation>The text holds control characters (such as Tab or a line break); nothing was stored!</translation>
    </message>
    <message>
        <source>沒有等待輸入的列 (已輸入或已取消), 未儲存!</source>
        <translation>No row awaits its entry (entered or cancelled already); nothing was stored!</translation>
    </message>
    <message>
        <source>刪除 %1 列</source>
        <translation>Delete %1 Rows</translation>
    </message>
    <message>
        <source>貼上 %1 列</source>
        <translation>Paste %1 Rows</translation>
    </message>
    <message>
        <source>移動一列</source>
        <translation>Move Row</translation>
    </message>
    <message>
        <source>移動 %1 列</source>
        <translation>Move %1 Rows</translation>
    </message>
</context>
<context>
    <name>tql::ProgramPanel</name>
    <message>
        <source>訊息</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>檢查完成: 沒有錯誤或警告.</source>
        <translation>Checked: no errors or warnings.</translation>
    </message>
    <message>
        <source>插入於第 %1 列之前</source>
        <translation>Insert before row %1</translation>
    </message>
    <message>
        <source>修改第 %1 列</source>
        <translation>Modify row %1</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>刪除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>功能鍵</source>
        <translation>Entries</translation>
    </message>
    <message>
        <source>絕對移動</source>
        <translation>Move To</translation>
    </message>
    <message>
        <source>相對移動</source>
        <translation>Move By</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Add Speed</translation>
    </message>
    <message>
        <source>延遲</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>迴圈</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>迴圈結束</source>
        <translation>End Loop</translation>
    </message>
    <message>
        <source>標籤</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>跳至標籤</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>呼叫標籤</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>回原點</source>
        <translation>Add Home</translation>
    </message>
    <message>
        <source>座標歸零</source>
        <translation>Zero</translation>
    </message>
    <message>
        <source>IN</source>
        <translation>IN</translation>
    </message>
    <message>
        <source>OUT</source>
        <translation>OUT</translation>
    </message>
    <message>
        <source>自設步驟</source>
        <translation>Custom Step</translation>
    </message>
    <message>
        <source>編輯開始</source>
        <translation>Start Editing</translation>
    </message>
    <message>
        <source>程式列表</source>
        <translation>Program rows</translation>
    </message>
    <message>
        <source>檢查結果</source>
        <translation>Findings</translation>
    </message>
    <message>
        <source>座標點</source>
        <translation>Points</translation>
    </message>
    <message>
        <source> 行 數 </source>
        <translation> Row </translation>
    </message>
    <message>
        <source> 數 據 </source>
        <translation> Data </translation>
    </message>
    <message>
        <source> X 座標</source>
        <translation> X position</translation>
    </message>
    <message>
        <source> 附 註 </source>
        <translation> Note </translation>
    </message>
    <message>
        <source>中斷點</source>
        <translation>Breakpoint</translation>
    </message>
    <message>
        <source>已取消「%1」: 這一列已被復原或重做改變.</source>
        <translation>&quot;%1&quot; was cancelled: undo or redo changed that row.</translation>
    </message>
    <message>
        <source>加在第 %1 列</source>
        <translation>Adding row %1</translation>
    </message>
    <message>
        <source>剪貼簿的內容不是程式列, 沒有貼上.</source>
        <translation>The clipboard holds no program rows; nothing was pasted.</translation>
    </message>
    <message>
        <source>拖放的內容不是程式列, 沒有放入.</source>
        <translation>What was dropped is no program rows; nothing was put in.</translation>
    </message>
</context>
<context>
    <name>tql::RowDialog</name>
    <message>
        <source>確認</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>tql::RunHistoryWindow</name>
    <message>
        <source>執行紀錄</source>
        <translation>Run History</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>程式</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>連接埠</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>模擬 (秒)</source>
        <translation>Dry run (s)</translation>
    </message>
    <message>
        <source>實測 (秒)</source>
        <translation>Measured (s)</translation>
    </message>
    <message>
        <source>差</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>校正</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>匯出 CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>關閉</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>程式:</source>
        <translation>Program:</translation>
    </message>
    <message>
        <source>全部程式</source>
        <translation>All programs</translation>
    </message>
    <message>
        <source>(未存檔的程式)</source>
        <translation>(program never saved)</translation>
    </message>
    <message>
        <source>模擬</source>
        <translation>Dry run</translation>
    </message>
    <message>
        <source>實測</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>無</source>
        <translation>none</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>Seconds</translation>
    </message>
    <message>
        <source>CSV 檔(*.csv) | *.csv</source>
        <translation>CSV files(*.csv) | *.csv</translation>
    </message>
</context>
<context>
    <name>tql::STEP</name>
    <message>
        <source>輸入步驟 :</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>        註解 :</source>
        <translation>Comment:</translation>
    </message>
</context>
<context>
    <name>tql::TrendChart</name>
    <message>
        <source>秒</source>
        <translation>Seconds</translation>
    </message>
    <message>
        <source>滑台座標</source>
        <translation>Slide position</translation>
    </message>
</context>
<context>
    <name>tql::WireMonitor</name>
    <message>
        <source>通訊監視</source>
        <translation>Wire Monitor</translation>
    </message>
    <message>
        <source>十六進位</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>儲存...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>通訊記錄(*.txt) | *.txt</source>
        <translation>Wire logs(*.txt) | *.txt</translation>
    </message>
</context>
<context>
    <name>tql::XIN</name>
    <message>
        <source>跳至標籤(JP)</source>
        <translation>Jump (JP)</translation>
    </message>
    <message>
        <source>呼叫標籤(CALL)</source>
        <translation>Call (CALL)</translation>
    </message>
    <message>
        <source>標籤 : </source>
        <translation>Label: </translation>
    </message>
    <message>
        <source>+: 等待輸入變 1 (ON); -: 等待輸入變 0 (OFF); 按一下切換</source>
        <translation>+: wait for the input to become 1 (on); -: to become 0 (off); click to switch</translation>
    </message>
    <message>
        <source>等待輸入, 不跳躍</source>
        <translation>Wait for the input, no jump</translation>
    </message>
</context>
<context>
    <name>tql::XOUT</name>
    <message>
        <source>單位元</source>
        <translation>One output</translation>
    </message>
    <message>
        <source>全部位元</source>
        <translation>All outputs</translation>
    </message>
    <message>
        <source>脈波輸出</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <source>千分秒</source>
        <translation>ms</translation>
    </message>
</context>
</TS>
