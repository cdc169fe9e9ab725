<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Magna</name>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>選択範囲を切り取り</source>
        <translation>Cut the selection</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>選択範囲をコピー</source>
        <translation>Copy the selection</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>選択範囲を削除</source>
        <translation>Delete the selection</translation>
    </message>
    <message>
        <source>全て選択(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>すべて選択</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>置き換え</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>テキストを置き換え</source>
        <translation>Replace the text</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>テキストをクリア</source>
        <translation>Clear the text</translation>
    </message>
    <message>
        <source>クリップボード監視</source>
        <translation>Watch the Clipboard</translation>
    </message>
    <message>
        <source>このウィンドウがアクティブなあいだしかコピーを監視できません。QT_QPA_PLATFORM=wayland を付けずに起動してください。</source>
        <translation>watching sees copies only while this window is active here; start without `QT_QPA_PLATFORM=wayland`</translation>
    </message>
    <message>
        <source>クリップボードに文字がコピーされたらすぐに貼り付け</source>
        <translation>Show text as soon as it is copied to the clipboard</translation>
    </message>
    <message>
        <source>右端で折り返す</source>
        <translation>Wrap at the Right Edge</translation>
    </message>
    <message>
        <source>フォント選択...</source>
        <translation>Font...</translation>
    </message>
    <message>
        <source>フォント選択</source>
        <translation>Choose the font</translation>
    </message>
    <message>
        <source>フォントを大きくする</source>
        <translation>Larger font</translation>
    </message>
    <message>
        <source>フォントを小さくする</source>
        <translation>Smaller font</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;V)</source>
        <translation>&amp;About Magna</translation>
    </message>
    <message>
        <source>バージョン情報表示</source>
        <translation>Show the version</translation>
    </message>
    <message>
        <source>文字の詳細...</source>
        <translation>Character Details...</translation>
    </message>
    <message>
        <source>全画面表示</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>選択範囲も監視</source>
        <translation>Watch the Selection Too</translation>
    </message>
    <message>
        <source>クリップボード監視中、ほかのプログラムで選択した文字もすぐに表示</source>
        <translation>While watching the clipboard, show text selected in other programs too</translation>
    </message>
    <message>
        <source>全画面表示を終了</source>
        <translation>Leave Full Screen</translation>
    </message>
    <message>
        <source>文字の詳細</source>
        <translation>Character Details</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>（カーソルの後に文字がありません）</source>
        <translation>(no character after the caret)</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>長い文字のため、カーソルの前後の一部だけを表示しています</source>
        <translation>A long character: only the part around the caret is shown</translation>
    </message>
    <message>
        <source>区点</source>
        <translation>Row-cell (kuten)</translation>
    </message>
    <message>
        <source>全角・半角</source>
        <translation>Full/half width</translation>
    </message>
    <message>
        <source>全角</source>
        <translation>Full width</translation>
    </message>
    <message>
        <source>半角</source>
        <translation>Half width</translation>
    </message>
    <message>
        <source>一般カテゴリ</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>ブロック</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>用字系</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Regular</translation>
    </message>
    <message>
        <source>斜体</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>太字</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>太字 斜体</source>
        <translation>Bold Italic</translation>
    </message>
    <message>
        <source>表示に使うフォント: </source>
        <translation>Drawn with: </translation>
    </message>
    <message>
        <source>（「%1」の代わり）</source>
        <translation> (in place of “%1”)</translation>
    </message>
    <message>
        <source>下線(&amp;U)</source>
        <translation>&amp;Underline</translation>
    </message>
    <message>
        <source>取り消し線(&amp;K)</source>
        <translation>Stri&amp;keout</translation>
    </message>
    <message>
        <source>フォント名(&amp;F):</source>
        <translation>&amp;Font:</translation>
    </message>
    <message>
        <source>スタイル(&amp;Y):</source>
        <translation>St&amp;yle:</translation>
    </message>
    <message>
        <source>サイズ(&amp;S):</source>
        <translation>&amp;Size:</translation>
    </message>
    <message>
        <source>文字飾り</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>色(&amp;C):</source>
        <translation>&amp;Color:</translation>
    </message>
    <message>
        <source>サンプル</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>色の設定</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About Magna</translation>
    </message>
    <message>
        <source>リンク先を開くプログラムが見つかりません。
ブラウザーで次のアドレスを開いてください。

</source>
        <translation>No program was found to open the link.
Please open this address in a browser.

</translation>
    </message>
    <message>
        <source>設定ファイル: </source>
        <translation>Settings file: </translation>
    </message>
    <message>
        <source>直す</source>
        <translation>Repair</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>文字化けを直す(&amp;M)</source>
        <translation>Repair &amp;Mojibake</translation>
    </message>
    <message>
        <source>読めるテキストに直せます: %1</source>
        <translation>This text can be made readable: %1</translation>
    </message>
    <message>
        <source>一部を読めるテキストに直せます（失われたバイトは � になります）: %1</source>
        <translation>This text can be made partly readable (lost bytes become �): %1</translation>
    </message>
    <message>
        <source>文字化けの修復</source>
        <translation>Repair</translation>
    </message>
    <message>
        <source>修復後の文字</source>
        <translation>Repaired</translation>
    </message>
</context>
</TS>
