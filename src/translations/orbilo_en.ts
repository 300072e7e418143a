<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Accessibility</name>
    <message>
        <source>%1手目</source>
        <translation>Move %1</translation>
    </message>
    <message>
        <source>点</source>
        <translation> points</translation>
    </message>
    <message>
        <source>%1 %2枚</source>
        <translation>%1: %2 tiles</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>ヒント</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ポイント %1</source>
        <translation>Points %1</translation>
    </message>
    <message>
        <source>残り %1枚</source>
        <translation>%1 tiles left</translation>
    </message>
    <message>
        <source>盤面</source>
        <translation>Board</translation>
    </message>
    <message>
        <source>盤面のフォント</source>
        <translation>Board font</translation>
    </message>
    <message>
        <source> %1列 %2段</source>
        <translation> column %1 row %2</translation>
    </message>
    <message>
        <source> 選択中</source>
        <translation> selected</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>横</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>経過時間</source>
        <translation>Elapsed time</translation>
    </message>
    <message>
        <source>手順</source>
        <translation>Moves</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>この説明を表示して終了します。</source>
        <translation>Show this help and exit.</translation>
    </message>
    <message>
        <source>Orbilo と Qt のバージョンを表示して終了します。</source>
        <translation>Show the versions of Orbilo and Qt and exit.</translation>
    </message>
    <message>
        <source>番号 N（0～4294967295）の盤面で始めます。大きさと使う組は前回のままです。</source>
        <translation>Start with board number N (0-4294967295), in the size and sets of the last game.</translation>
    </message>
    <message>
        <source>使い方: %1 [オプション]
</source>
        <translation>Usage: %1 [options]
</translation>
    </message>
    <message>
        <source>五行の干・支・九星を隣どうしで組にして消していくパズルです。オプションなしで起動すると、ゲームの画面が開きます。

オプション:
</source>
        <translation>A puzzle of pairing neighbouring stems, branches and stars of the five elements. Without options, the game&apos;s window opens.

Options:
</translation>
    </message>
    <message>
        <source>
Qt のウィンドウシステムのオプション（-platform、-style、-display など）も使えます。
</source>
        <translation>
Qt&apos;s window system options (-platform, -style, -display and others) work as well.
</translation>
    </message>
    <message>
        <source>%1: %2
使い方は「%1 --help」で表示されます。
</source>
        <translation>%1: %2
Try &quot;%1 --help&quot; for how to use it.
</translation>
    </message>
    <message>
        <source>知らないオプションです: </source>
        <translation>unknown option: </translation>
    </message>
    <message>
        <source>オプションを読めません（%1）</source>
        <translation>cannot read the options (%1)</translation>
    </message>
    <message>
        <source>余分な引数があります: </source>
        <translation>unexpected argument: </translation>
    </message>
    <message>
        <source>--deal の番号は 0 から 4294967295 までの整数です: </source>
        <translation>--deal takes a whole number from 0 to 4294967295: </translation>
    </message>
    <message>
        <source>%1: 画面に接続できないため、ゲームの画面を開けません。
デスクトップの中で起動するか、環境変数 DISPLAY または WAYLAND_DISPLAY を確かめてください。
</source>
        <translation>%1: cannot open the game&apos;s window: there is no connection to a display.
Start it from within a desktop, or check the environment variable DISPLAY or WAYLAND_DISPLAY.
</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>次の得点表が見つかりません。この表の組には点が付きませんが、ゲームはそのまま遊べます。
</source>
        <translation>These score tables cannot be found. Their pairs score nothing, but the game plays as usual.
</translation>
    </message>
    <message>
        <source>次のフォルダーに書き込めません（%1）。得点表とランキングは読み込みますが、この回の変更と終了時のゲームは保存されません。
%2</source>
        <translation>This folder cannot be written (%1). The score tables and the ranking are read, but this session&apos;s changes and the game at close are not saved.
%2</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>ディスクの空き容量が足りません</source>
        <translation>There is not enough free space on the disk</translation>
    </message>
    <message>
        <source>ディスクの使用量の上限（クォータ）を超えています</source>
        <translation>The disk quota is exceeded</translation>
    </message>
    <message>
        <source>書き込む権限がありません</source>
        <translation>No permission to write</translation>
    </message>
    <message>
        <source>読み取り専用のディスクです</source>
        <translation>The disk is read-only</translation>
    </message>
    <message>
        <source>同じ名前のフォルダーがあります</source>
        <translation>A folder of the same name is in the way</translation>
    </message>
    <message>
        <source>保存先のフォルダーがありません</source>
        <translation>The folder to save in does not exist</translation>
    </message>
    <message>
        <source>ディスクの読み書きでエラーが起きました</source>
        <translation>A disk read or write error occurred</translation>
    </message>
    <message>
        <source>ファイルに書き込めませんでした（エラー番号 %1）</source>
        <translation>The file could not be written (error %1)</translation>
    </message>
    <message>
        <source>ファイルに書き込めませんでした</source>
        <translation>The file could not be written</translation>
    </message>
    <message>
        <source>読み取る権限がありません</source>
        <translation>No permission to read</translation>
    </message>
    <message>
        <source>フォルダーがありません</source>
        <translation>The folder does not exist</translation>
    </message>
    <message>
        <source>ファイルを読めませんでした（エラー番号 %1）</source>
        <translation>The file could not be read (error %1)</translation>
    </message>
    <message>
        <source>ファイルを読めませんでした</source>
        <translation>The file could not be read</translation>
    </message>
</context>
<context>
    <name>FontDialog</name>
    <message>
        <source>黒</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>茶</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>オリーブ</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>紺</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>紫</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>青緑</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>銀</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>黄緑</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>赤紫</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>水色</source>
        <translation>Aqua</translation>
    </message>
    <message>
        <source>白</source>
        <translation>White</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>色(&amp;C):</source>
        <translation>&amp;Colour:</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>フォント名(&amp;F):</source>
        <translation>&amp;Font:</translation>
    </message>
    <message>
        <source>スタイル(&amp;Y):</source>
        <translation>Font st&amp;yle:</translation>
    </message>
    <message>
        <source>サイズ(&amp;S):</source>
        <translation>&amp;Size:</translation>
    </message>
    <message>
        <source>文字セット(&amp;R):</source>
        <translation>Wr&amp;iting system:</translation>
    </message>
    <message>
        <source>文字飾り</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>取り消し線(&amp;K)</source>
        <translation>Stri&amp;keout</translation>
    </message>
    <message>
        <source>下線(&amp;U)</source>
        <translation>&amp;Underline</translation>
    </message>
    <message>
        <source>サンプル</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>カスタム</source>
        <translation>Custom</translation>
    </message>
</context>
<context>
    <name>GameTexts</name>
    <message>
        <source>木</source>
        <translation>wood</translation>
    </message>
    <message>
        <source>火</source>
        <translation>fire</translation>
    </message>
    <message>
        <source>土</source>
        <translation>earth</translation>
    </message>
    <message>
        <source>金</source>
        <translation>metal</translation>
    </message>
    <message>
        <source>水</source>
        <translation>water</translation>
    </message>
    <message>
        <source>&#x3000;残：%1 &#x3000;</source>
        <translation>&#x3000;Left: %1 &#x3000;</translation>
    </message>
    <message>
        <source>ポイント：%1</source>
        <translation>Points: %1</translation>
    </message>
    <message>
        <source>ぜんぶ、消せましたぁ</source>
        <translation>All cleared!</translation>
    </message>
    <message>
        <source>もう、消せないですぅ</source>
        <translation>No pair left to remove!</translation>
    </message>
    <message>
        <source>経過時間 ：</source>
        <translation>Time: </translation>
    </message>
    <message>
        <source>%1 分が経過しました。『%2』を終了します。</source>
        <translation>%1 minutes have passed. &quot;%2&quot; is closing now.</translation>
    </message>
    <message>
        <source>%1 分が経過しました。</source>
        <translation>%1 minutes have passed.</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>help:目次</source>
        <translation>help:contents</translation>
    </message>
    <message>
        <source>Orbilo ヘルプ</source>
        <translation>Orbilo Help</translation>
    </message>
    <message>
        <source>◀ 戻る</source>
        <translation>◀ Back</translation>
    </message>
    <message>
        <source>進む ▶</source>
        <translation>Forward ▶</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>NewCtrls</name>
    <message>
        <source>%1 はフォント情報ではなく %2 の値です。</source>
        <translation>%1 is a %2 value, not font information.</translation>
    </message>
    <message>
        <source>%1 は %2 バイトで、%3 バイトのフォント情報として読めません。</source>
        <translation>%1 has %2 bytes and cannot be read as font information of %3 bytes.</translation>
    </message>
</context>
<context>
    <name>RankingFile</name>
    <message>
        <source>他のプログラムが使用中です</source>
        <translation>Another program is using it</translation>
    </message>
</context>
<context>
    <name>RegistryFile</name>
    <message>
        <source>設定ファイル %1 に書き込めませんでした（%2）</source>
        <translation>The settings file %1 could not be written (%2)</translation>
    </message>
    <message>
        <source>%1 を読めません（%2）</source>
        <translation>%1 cannot be read (%2)</translation>
    </message>
    <message>
        <source>設定ファイルとしては大きすぎます</source>
        <translation>Too large for a settings file</translation>
    </message>
    <message>
        <source>%1 に書き込めません（%2）</source>
        <translation>%1 cannot be written (%2)</translation>
    </message>
    <message>
        <source>フォルダー %1 を作れません</source>
        <translation>The folder %1 cannot be created</translation>
    </message>
    <message>
        <source>他のプログラムが使用中です</source>
        <translation>Another program is using it</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>設定ファイルに書き込めないため、この回に変えた設定は保存されません。
</source>
        <translation>The settings file cannot be written, so the settings changed in this session are not saved.
</translation>
    </message>
    <message>
        <source>%1 は文字列ではなく %2 の値です。</source>
        <translation>%1 is a %2 value, not a string.</translation>
    </message>
    <message>
        <source>次の設定を保存できませんでした: %1</source>
        <translation>These settings could not be saved: %1</translation>
    </message>
    <message>
        <source>次の設定を読み込めないため、既定値を使います: %1</source>
        <translation>These settings cannot be read, so their defaults are used: %1</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Orbilo</translation>
    </message>
    <message>
        <source>五行の牌を組にして消してゆくパズル</source>
        <translation>Pair away the tiles of five elements</translation>
    </message>
</context>
<context>
    <name>TAnalysisF</name>
    <message>
        <source>最高点（確定）</source>
        <translation>Best (proven)</translation>
    </message>
    <message>
        <source>これ以上（探索中）</source>
        <translation>At least (searching)</translation>
    </message>
    <message>
        <source>これ以上（止めました）</source>
        <translation>At least (stopped)</translation>
    </message>
    <message>
        <source>この盤面の最高点</source>
        <translation>Best score of this board</translation>
    </message>
    <message>
        <source>（盤面番号 %1）</source>
        <translation> (board %1)</translation>
    </message>
    <message>
        <source>今の局面から</source>
        <translation>From here</translation>
    </message>
    <message>
        <source>配られた盤面から</source>
        <translation>From the deal</translation>
    </message>
    <message>
        <source>あなたの点</source>
        <translation>Your score</translation>
    </message>
    <message>
        <source>次の一手</source>
        <translation>Next move</translation>
    </message>
    <message>
        <source>止める</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>終わったゲームを、配られた盤面から</source>
        <translation>The finished game, from the deal</translation>
    </message>
    <message>
        <source>今の局面から（ここまで %1 点）</source>
        <translation>From here (%1 points so far)</translation>
    </message>
    <message>
        <source>この盤面は調べられません</source>
        <translation>This board cannot be searched</translation>
    </message>
    <message>
        <source>経過 %1 秒&#x3000;%2 局面</source>
        <translation>%1 s&#x3000;%2 positions</translation>
    </message>
</context>
<context>
    <name>TDealF</name>
    <message>
        <source>番号を指定して配る</source>
        <translation>Deal by number</translation>
    </message>
    <message>
        <source>いまの盤面の番号：</source>
        <translation>This board:</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>配る番号：</source>
        <translation>Deal number:</translation>
    </message>
    <message>
        <source>0 から 4294967295 までの番号</source>
        <translation>A number from 0 to 4294967295</translation>
    </message>
    <message>
        <source>配る</source>
        <translation>Deal</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>番号を入力してください。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>番号は 0 から 4294967295 までの整数です。</source>
        <translation>A number is a whole number from 0 to 4294967295.</translation>
    </message>
</context>
<context>
    <name>TMainF</name>
    <message>
        <source>新しい盤面を配ります（いまの盤面の番号：%1）</source>
        <translation>Deals a new board (this board is number %1)</translation>
    </message>
    <message>
        <source>使用するものを一つ以上チェックして下さい。</source>
        <translation>Please check at least one set of symbols.</translation>
    </message>
    <message>
        <source>Brimwell サポートページへＧＯ！</source>
        <translation>Brimwell: go to the support page!</translation>
    </message>
    <message>
        <source>経過時間 ：00:00 00 </source>
        <translation>Time: 00:00 00 </translation>
    </message>
    <message>
        <source>ポイント:0 </source>
        <translation>Points:0 </translation>
    </message>
    <message>
        <source>残</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>&lt;&lt;</source>
        <translation>&lt;&lt;</translation>
    </message>
    <message>
        <source>!!</source>
        <translation>!!</translation>
    </message>
    <message>
        <source>Start!!</source>
        <translation>Start!!</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>H</translation>
    </message>
    <message>
        <source>×&#x3000;横</source>
        <translation>×&#x3000;W</translation>
    </message>
    <message>
        <source>干</source>
        <translation>Stem</translation>
    </message>
    <message>
        <source>支</source>
        <translation>Br.</translation>
    </message>
    <message>
        <source>九星</source>
        <translation>Star</translation>
    </message>
    <message>
        <source>着色する</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>着色しない</source>
        <translation>No colour</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>スタート(&amp;N)</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>番号を指定して配る(&amp;D)…</source>
        <translation>&amp;Deal by number…</translation>
    </message>
    <message>
        <source>元に戻す(&amp;R)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;Y)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>ハイスコア(&amp;H)</source>
        <translation>&amp;High scores</translation>
    </message>
    <message>
        <source>この盤面の最高点(&amp;B)…</source>
        <translation>&amp;Best score of this board…</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>ｻﾎﾟｰﾄﾍﾟｰｼﾞへ(&amp;W)</source>
        <translation>Support &amp;page</translation>
    </message>
    <message>
        <source>前回終了したときのゲームは、保存ファイルを読めないため続けられません（%1）。新しい盤面を配ります。
%2</source>
        <translation>The game left at the last close cannot go on: its file cannot be read (%1). A new board is dealt.
%2</translation>
    </message>
    <message>
        <source>前回終了したときのゲームは、保存ファイルが壊れているため続けられません。新しい盤面を配ります。
%1</source>
        <translation>The game left at the last close cannot go on: its file is damaged. A new board is dealt.
%1</translation>
    </message>
    <message>
        <source>ゲームの途中を保存できませんでした。このあと異常終了したときは、次の起動で続きから始められません。
%1（%2）</source>
        <translation>The game in progress could not be saved. Should the program end abnormally now, the next start cannot go on with it.
%1 (%2)</translation>
    </message>
    <message>
        <source>終了時のゲームを保存できませんでした。次の起動では新しい盤面を配ります。
%1（%2）</source>
        <translation>The game could not be kept at close. The next start deals a new board.
%1 (%2)</translation>
    </message>
</context>
<context>
    <name>TNameF</name>
    <message>
        <source>ランキング登録の名前を入力してください</source>
        <translation>Enter your name for the ranking</translation>
    </message>
</context>
<context>
    <name>TRankF</name>
    <message>
        <source>ランキング</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>ランキングを保存できませんでした。
%1
%2</source>
        <translation>The ranking could not be saved.
%1
%2</translation>
    </message>
    <message>
        <source>ランキングをクリアしてよろしいですか？</source>
        <translation>Clear the ranking?</translation>
    </message>
</context>
<context>
    <name>TSetuF</name>
    <message>
        <source>システム</source>
        <translation>System</translation>
    </message>
    <message>
        <source>干</source>
        <translation>Stems</translation>
    </message>
    <message>
        <source>支</source>
        <translation>Branches</translation>
    </message>
    <message>
        <source>九星</source>
        <translation>Stars</translation>
    </message>
    <message>
        <source>初期値</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Sound 設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>音を鳴らす</source>
        <translation>Play sounds</translation>
    </message>
    <message>
        <source>ゲーム</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>全部消せる盤面を配る</source>
        <translation>Deal only clearable boards</translation>
    </message>
    <message>
        <source>次に配る盤から、最後の1組まで消せる並べ方になります</source>
        <translation>From the next deal on, every board can be cleared to the last pair</translation>
    </message>
    <message>
        <source>終了時のゲームを次に続ける</source>
        <translation>Resume the game at next start</translation>
    </message>
    <message>
        <source>終了したときの盤面と記録を、次に起動したときにそのまま続けます</source>
        <translation>The board and the moves left at close go on at the next start</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>盤面のフォントを選びます</source>
        <translation>Choose the board&apos;s font</translation>
    </message>
    <message>
        <source>やりすぎ警告</source>
        <translation>Play-time warning</translation>
    </message>
    <message>
        <source>警告までの分数</source>
        <translation>Minutes until the warning</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>※1～59分までが有効です。</source>
        <translation>(1 to 59 minutes)</translation>
    </message>
    <message>
        <source>経過時間を表示する。</source>
        <translation>Show the elapsed time</translation>
    </message>
    <message>
        <source>警告時に終了する。</source>
        <translation>Quit at the warning</translation>
    </message>
    <message>
        <source>表示言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>次に起動したときから、この言語で表示します</source>
        <translation>The program speaks this language from its next start</translation>
    </message>
    <message>
        <source>表示言語は、次に起動したときから切り替わります。</source>
        <translation>The language changes at the next start.</translation>
    </message>
    <message>
        <source>配色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>デスクトップの配色を使う</source>
        <translation>Use the desktop&apos;s colours</translation>
    </message>
    <message>
        <source>デスクトップのテーマの色で表示します</source>
        <translation>Shows the program in the colours of the desktop&apos;s theme</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>次のファイルを保存できませんでした。
</source>
        <translation>These files could not be saved:
</translation>
    </message>
</context>
<context>
    <name>TableFile</name>
    <message>
        <source>ファイルを読めないため、バックアップを作れません。%1</source>
        <translation>The file cannot be read, so no backup can be made. %1</translation>
    </message>
    <message>
        <source>バックアップ %1 を作れません。%2</source>
        <translation>The backup %1 cannot be made. %2</translation>
    </message>
</context>
</TS>
