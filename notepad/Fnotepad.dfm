object Fnotepad: TFnotepad
  Left = 192
  Top = 107
  Width = 696
  Height = 479
  ActiveControl = RichEdit1
  Caption = 'Orvisk'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  WindowState = wsMaximized
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnShow = FormShow
  object Splitter1: TSplitter
    Left = 463
    Top = 0
    Width = 3
    Height = 383
    Cursor = crHSplit
    Align = alRight
  end
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 463
    Height = 383
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 0
    object Splitter2: TSplitter
      Left = 0
      Top = 227
      Width = 463
      Height = 3
      Cursor = crVSplit
      Align = alBottom
    end
    object lstProgress: TListBox
      Left = 0
      Top = 230
      Width = 463
      Height = 153
      Align = alBottom
      TabOrder = 0
    end
  end
  object Panel2: TPanel
    Left = 466
    Top = 0
    Width = 226
    Height = 383
    Align = alRight
    BevelOuter = bvNone
    TabOrder = 1
    object lstHypotheses: TListBox
      Left = 0
      Top = 0
      Width = 226
      Height = 383
      Hint = '[选字框]：双击添加选择字段。'
      Align = alClient
      Color = clMoneyGreen
      Font.Charset = GB2312_CHARSET
      Font.Color = clRed
      Font.Height = -13
      Font.Name = '宋体'
      Font.Style = []
      Items.Strings = (
        '用嘴对着麦克风讲话即可输入.'
        '------------------------'
        '请注意保持周围环境的安静，'
        '并用自然平和的普通话朗读。'
        '------------------------'
        '标点符号输入请直接读符号名称。'
        '-------------------------'
        '如遇总是不能正确识别的词语，'
        '请点[控制]--[词典]菜单项。')
      ParentFont = False
      ParentShowHint = False
      PopupMenu = PopupMenu1
      ShowHint = True
      TabOrder = 0
      OnDblClick = lstHypothesesDblClick
    end
  end
  object RichEdit1: TRichEdit
    Left = 0
    Top = 0
    Width = 463
    Height = 383
    Align = alClient
    Font.Charset = GB2312_CHARSET
    Font.Color = clBlue
    Font.Height = -14
    Font.Name = '宋体'
    Font.Style = []
    ParentFont = False
    PopupMenu = PopupMenu
    ScrollBars = ssVertical
    TabOrder = 2
    WordWrap = True
  end
  object ProgressBar: TProgressBar
    Left = 0
    Top = 383
    Width = 688
    Height = 25
    Align = alBottom
    Min = 0
    Max = 100
    Smooth = True
    TabOrder = 3
  end
  object Memo1: TMemo
    Left = 16
    Top = 16
    Width = 185
    Height = 89
    Lines.Strings = (
      'Memo1')
    TabOrder = 4
    Visible = False
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 408
    Width = 688
    Height = 24
    Panels = <
      item
        Text = '语音输入：已开始'
        Width = 130
      end
      item
        Width = 600
      end
      item
        Width = 100
      end
      item
        Width = 80
      end
      item
        Width = 20
      end>
  end
  object SpSharedRecoContext: TSpSharedRecoContext
    AutoConnect = False
    ConnectKind = ckRunningOrNew
    OnStartStream = SpSharedRecoContextStartStream
    OnEndStream = SpSharedRecoContextEndStream
    OnSoundStart = SpSharedRecoContextSoundStart
    OnSoundEnd = SpSharedRecoContextSoundEnd
    OnPhraseStart = SpSharedRecoContextPhraseStart
    OnHypothesis = SpSharedRecoContextHypothesis
    OnRecognition = SpSharedRecoContextRecognition
    OnFalseRecognition = SpSharedRecoContextFalseRecognition
    OnInterference = SpSharedRecoContextInterference
    OnRequestUI = SpSharedRecoContextRequestUI
    OnRecognitionForOtherContext = SpSharedRecoContextRecognitionForOtherContext
    OnAudioLevel = SpSharedRecoContextAudioLevel
  end
  object PopupMenu: TPopupMenu
    object N_Undo: TMenuItem
      Caption = '撤消'
      ShortCut = 16469
      OnClick = M_ZClick
    end
    object N_Line1: TMenuItem
      Caption = '-'
    end
    object N_Cut: TMenuItem
      Caption = '剪切'
      ShortCut = 16472
      OnClick = M_CutClick
    end
    object N_Copy: TMenuItem
      Caption = '复制'
      ShortCut = 16451
      OnClick = M_CopyClick
    end
    object N_Paste: TMenuItem
      Caption = '粘贴'
      ShortCut = 16464
      OnClick = M_PClick
    end
    object N_Delete: TMenuItem
      Caption = '删除'
      ShortCut = 46
      OnClick = M_DelClick
    end
    object N_Line2: TMenuItem
      Caption = '-'
    end
    object N_SelectAll: TMenuItem
      Caption = '全选'
      ShortCut = 16449
      OnClick = M_CtrlAClick
    end
  end
  object PrinterSetupDialog: TPrinterSetupDialog
  end
  object ReplaceDialog: TReplaceDialog
    OnFind = ReplaceDialogFind
    OnReplace = ReplaceDialogReplace
  end
  object FindDialog: TFindDialog
    OnFind = FindDialogFind
  end
  object FontDialog1: TFontDialog
    Font.Charset = GB2312_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = 'Fixedsys'
    Font.Style = []
  end
  object OpenDialog1: TOpenDialog
  end
  object SaveDialog1: TSaveDialog
  end
  object MainMenu1: TMainMenu
    object N_File: TMenuItem
      Caption = '文件(&F)'
      object NShiYongShuoMing: TMenuItem
        Caption = '配置说明(&S)'
        OnClick = NShiYongShuoMingClick
      end
      object NMicroPhoneset: TMenuItem
        Caption = '麦克风向导(&M)'
        OnClick = NMicroPhonesetClick
      end
      object NVoiceSet: TMenuItem
        Caption = '语音训练向导(&V)'
        OnClick = NVoiceSetClick
      end
      object N_FileLine1: TMenuItem
        Caption = '-'
      end
      object M_NewFiles: TMenuItem
        Caption = '新建(&N)                 Ctrl+N'
        OnClick = M_NewFilesClick
      end
      object M_OpenFiles: TMenuItem
        Caption = '打开(&O)...             Ctrl+O'
        OnClick = M_OpenFilesClick
      end
      object M_Save: TMenuItem
        Caption = '保存(&S)                  Ctrl+S'
        OnClick = M_SaveClick
      end
      object M_SaveAs: TMenuItem
        Caption = '另存为(&A)...'
        OnClick = M_SaveAsClick
      end
      object N_FileLine2: TMenuItem
        Caption = '-'
      end
      object M_PrintPage: TMenuItem
        Caption = '打印设置(&U)...'
        OnClick = M_PrintPageClick
      end
      object M_Print: TMenuItem
        Caption = '打印(&P)                  Ctrl+P'
        OnClick = M_PrintClick
      end
      object N_FileLine3: TMenuItem
        Caption = '-'
      end
      object M_Exit: TMenuItem
        Caption = '退出(&X)'
        OnClick = M_ExitClick
      end
    end
    object N_Control: TMenuItem
      Caption = '控制(&C)'
      object NStart: TMenuItem
        Caption = '开始(&S)'
        OnClick = NStartClick
      end
      object N_ControlLine1: TMenuItem
        Caption = '-'
      end
      object NStop: TMenuItem
        Caption = '停止(&P)'
        OnClick = NStopClick
      end
      object N_ControlLine2: TMenuItem
        Caption = '-'
      end
      object NVoiceDict: TMenuItem
        Caption = '词典(&V)'
        OnClick = NVoiceDictClick
      end
    end
    object N_Edit: TMenuItem
      Caption = '编辑(&E)'
      object M_Z: TMenuItem
        Caption = '撤消(&U)              Ctrl+Z'
        OnClick = M_ZClick
      end
      object N_EditLine1: TMenuItem
        Caption = '-'
      end
      object M_Cut: TMenuItem
        Caption = '剪切(&T)              Ctrl+X'
        OnClick = M_CutClick
      end
      object M_Copy: TMenuItem
        Caption = '复制(&C)              Ctrl+C'
        OnClick = M_CopyClick
      end
      object M_P: TMenuItem
        Caption = '粘贴(&P)              Ctrl+P'
        OnClick = M_PClick
      end
      object M_Del: TMenuItem
        Caption = '删除(&L)               Del'
        OnClick = M_DelClick
      end
      object N_EditLine2: TMenuItem
        Caption = '-'
      end
      object M_Find: TMenuItem
        Caption = '查找(&F)               Ctrl+F'
        OnClick = M_FindClick
      end
      object M_FindNext: TMenuItem
        Caption = '查找下一个(&N)   F3'
        OnClick = M_FindNextClick
      end
      object M_Replace: TMenuItem
        Caption = '替换(&R)               Ctrl+H'
        OnClick = M_ReplaceClick
      end
      object N_EditLine3: TMenuItem
        Caption = '-'
      end
      object M_CtrlA: TMenuItem
        Caption = '全选(&A)               Ctrl+A'
        OnClick = M_CtrlAClick
      end
      object M_DateTime: TMenuItem
        Caption = '时间\日期          F5'
        OnClick = M_DateTimeClick
      end
    end
    object N_Format: TMenuItem
      Caption = '格式(&O)'
      object M_AutoLines: TMenuItem
        Caption = '自动换行(&W)'
        Checked = True
        OnClick = M_AutoLinesClick
      end
      object M_Font: TMenuItem
        Caption = '字体(&F)..'
        OnClick = M_FontClick
      end
      object BBacColor: TMenuItem
        Caption = '背景颜色(&C)...'
        OnClick = BBacColorClick
      end
    end
    object N_Help: TMenuItem
      Caption = '帮助(&H)'
      object M_Help: TMenuItem
        Caption = '帮助(&H)       F1'
        OnClick = M_HelpClick
      end
      object N_HelpLine1: TMenuItem
        Caption = '-'
      end
      object M_About: TMenuItem
        Caption = '关于(&A)'
        OnClick = M_AboutClick
      end
    end
  end
  object ColorDialog1: TColorDialog
  end
  object PopupMenu1: TPopupMenu
    object NShowFonts: TMenuItem
      Caption = '显示字体(&F)'
      OnClick = NShowFontsClick
    end
    object N_ListLine1: TMenuItem
      Caption = '-'
    end
    object NBackColor: TMenuItem
      Caption = '背景颜色(&C)'
      OnClick = NBackColorClick
    end
  end
  object SkinData1: TSkinData
    Active = True
    SkinStream = @DEFAULTSKIN
  end
  object Timer2: TTimer
    Interval = 1000
    OnTimer = Timer2Timer
  end
end
