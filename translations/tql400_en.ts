<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
<context>
    <name>AtomicFile</name>
    <message>
        <source>無法寫入檔案 %1: 不是一般檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁碟已滿或檔案過大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法寫入檔案 %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Console</name>
    <message>
        <source>「%1」不是數字, 指令未送出!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DirectEntries</name>
    <message>
        <source>請輸入延遲時間{1000為1秒}</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>延遲時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>請輸入呼叫標籤名稱:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標籤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>請輸入迴圈次數:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>迴圈</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>請輸入跳至標籤名稱:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳至標籤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>請輸入標籤名稱:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DryRun</name>
    <message>
        <source>輸入 %1 在 %2 秒時變 %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>呼叫超過 %1 層</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」的標籤不存在</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>指令超過 %1 位元組</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器不接受「%1」</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 列: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>錯誤, 停止: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>等待輸入 %1, 沒有排定的變化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>執行一百萬行後停止: 程式可能是無窮迴圈</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模擬 %1 秒後停止: 程式仍在執行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法模擬: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程式執行完畢</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一次執行時間: %1 秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模擬到 %1 秒, 程式沒有跑完: 沒有一次執行時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>移動距離: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位置範圍: %1 .. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 列等待輸入 %2 秒</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Link</name>
    <message>
        <source>沒有設定連接埠, 請由 設定 &gt; COM_PORT 選擇.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法開啟連接埠 %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramChecks</name>
    <message>
        <source>迴圈次數 &quot;%1&quot; 超過控制器的上限 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>迴圈次數 &quot;%1&quot; 不是 1 以上的整數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1的值 &quot;%2&quot; 不是數字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1的值 &quot;%2&quot; 不是整數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1的值 &quot;%2&quot; 不在 %3 到 %4 之間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器不接受「%1」: 值%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是數字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是整數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>超出範圍</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標籤 &quot;%1&quot; 不存在</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」的標籤不存在</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>這個呼叫還沒返回就會再被呼叫, 呼叫會超過 %1 層</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>轉換後的指令超過 %1 位元組, 控制器收不下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標籤 &quot;%1&quot; 已在第 %2 列定義過</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>有 Big5 無法表示的字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不認得的關鍵字 &quot;%1&quot;, 這一列不會送到控制器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 列不會轉換成控制器的指令</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸出 &quot;%1&quot; 不在 1 到 %2 之間, 控制器可能沒有這個輸出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>速度為 0, 之後的移動不會動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>移動之前沒有設定速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>沒有任何呼叫會回到這個返回</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳至標籤之後, 沒有任何跳躍會到這一列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模擬不認得「%1」, 模擬時略過</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>這個呼叫還沒返回就可能再被呼叫, 超過 %1 層時控制器停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 列: %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>錯誤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramFile</name>
    <message>
        <source>第 %1 列有換行或控制字元, 無法存檔!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 列有 Big5 無法表示的字元, 無法存檔!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 列超過 %2 位元組, 無法存檔!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 行過短, 讀取到此為止; 之後還有 %2 行%3未讀入.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>以上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是程式檔 (含有二進位資料), 無法開啟!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是程式檔 (第 %1 行有無法辨識的字元), 無法開啟!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 1 行的標題列無法辨識, 已改用標準標題列.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 行: 程式超過500列, 無法開啟!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 行超過五個欄位, 無法開啟!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檔案中沒有程式資料, 無法開啟!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>讀取失敗: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是程式檔 (第 %1 行超過 %2 位元組), 無法開啟!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法開啟檔案 %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是一般檔案</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RowKinds</name>
    <message>
        <source>移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標籤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>脈波時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>延遲</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>迴圈次數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸出位元值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自設步驟</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>註解</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialPort</name>
    <message>
        <source>找不到這個連接埠</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>沒有權限使用這個連接埠, 或它正被其他程式使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠已經開啟</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠沒有開啟</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法寫入連接埠</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法讀取連接埠</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠已無法使用 (裝置被拔除或被關閉)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠不支援這項操作</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠逾時</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠發生不明的錯誤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (系統訊息: %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (沒有權限: 請將使用者加入擁有該裝置的群組, 通常是 dialout, 再重新登入)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>無法以 Big5 寫入: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TraceFile</name>
    <message>
        <source>第 %1 行有 Big5 無法表示的字元: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Translator</name>
    <message>
        <source>迴圈數目未成對!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>迴圈數目超過50個!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程式超過1001行!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>含有控制字元 (如 CR 或 ESC), 不能送到控制器!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 列: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Upload</name>
    <message>
        <source>是否儲存程式?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>現在執行程式?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::ConsolePanel</name>
    <message>
        <source>上傳中...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上傳</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上傳中... 第 %1 / %2 行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>功能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檢查</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>加速度</source>
        <comment>the console frame&apos;s title</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>斷線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原點</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存參數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>加速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>定位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>立即指令</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止控制器執行中的程式 (F12)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>滑台座標</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>內部加速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>內部速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制回應</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸入 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::ControllerSession</name>
    <message>
        <source>通訊有誤!
連接埠 %1 在 200 ms 內沒有任何回應.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>訊息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>指令有 Big5 無法表示的字元, 未送出: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 準備連線終止運作中程式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連線中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未連線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠 %1 已中斷, 連線結束: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Not Response !!  連線錯誤 !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是否儲存參數?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 連線錯誤 !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程式有錯誤:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
... 另有 %1 個錯誤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

是否仍要上傳?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 列有 Big5 無法表示的字元, 無法上傳!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法寫入記錄檔: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>尚未連線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上傳已取消: 控制器現在存有不完整的程式 (已送出 %1 / %2 行), 未儲存也未執行.
請重新上傳完整的程式.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::DryRunWindow</name>
    <message>
        <source>模擬執行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開始時的輸入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸入 3 在 2.0 秒時變 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>執行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存圖表...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模型的假設: 移動以 VM 速度、VA 加速度的梯形曲線進行; 實際控制器的曲線可能不同.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始位置:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸入變化 (一行一個):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始位置「%1」不是數字!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>看不懂「%1」; 請寫成「輸入 3 在 2.0 秒時變 1」.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG 圖檔(*.png) | *.png</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法寫入 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::FORM1</name>
    <message>
        <source>趨勢</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檢視(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通訊監視</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>說明(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>關於(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>結束(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檔案(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>建立新檔(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開啟舊檔(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另存新檔(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編輯(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復原</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復原 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檢查程式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模擬執行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定存於 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未連線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TQL400 教導程式 %1
TQL400 單軸運動控制器的教導與程式編寫工具.

Copyright 2026 The tql400 developers.
授權: 專有軟體, 保留所有權利.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>關於</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>請輸入連接埠名稱或裝置路徑:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::FileCommands</name>
    <message>
        <source>TQL400程式檔(*.tq4) | *.tq4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 已存在, 是否取代?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>尚未存檔, 是否要存檔 ?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::Form3</name>
    <message>
        <source> X軸距離 :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> X軸座標 :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>數值輸入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>教導輸入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 寸動 :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>定位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連線中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未連線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制器通訊中 (上傳或詢問), 請稍後再試!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>寸動需要讀到的座標與數字的寸動量!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法讀取滑台座標, 未儲存!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::Form4</name>
    <message>
        <source>速度</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::MR</name>
    <message>
        <source>相對移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> X軸距離 :</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::Program</name>
    <message>
        <source>輸入一列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>刪除一列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程式已滿500列, 無法再加入!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選取的列已不存在, 請重新選取!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>輸入的文字含有控制字元 (如 Tab 或換行), 未儲存!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>沒有等待輸入的列 (已輸入或已取消), 未儲存!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::ProgramPanel</name>
    <message>
        <source>訊息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檢查完成: 沒有錯誤或警告.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插入於第 %1 列之前</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改第 %1 列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>刪除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>功能鍵</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>絕對移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>相對移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>延遲</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>迴圈</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>迴圈結束</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標籤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳至標籤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>呼叫標籤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>返回</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回原點</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>座標歸零</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自設步驟</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編輯開始</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程式列表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檢查結果</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>座標點</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 行 數 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 數 據 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> X 座標</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 附 註 </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::RowDialog</name>
    <message>
        <source>確認</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::STEP</name>
    <message>
        <source>輸入步驟 :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>        註解 :</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::TrendChart</name>
    <message>
        <source>秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>滑台座標</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::WireMonitor</name>
    <message>
        <source>通訊監視</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>十六進位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通訊記錄(*.txt) | *.txt</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::XIN</name>
    <message>
        <source>跳至標籤(JP)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>呼叫標籤(CALL)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標籤 : </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tql::XOUT</name>
    <message>
        <source>單位元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部位元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>脈波輸出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>千分秒</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
