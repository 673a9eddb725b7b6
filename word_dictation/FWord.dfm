object FWord: TFWord
  Left = 200
  Top = 120
  Width = 234
  Height = 240
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Dormel(已开始)'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  Menu = MainMenu1
  PopupMenu = PopupMenu1
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnShow = FormShow
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 226
    Height = 33
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object BStartword: TButton
      Left = 8
      Top = 4
      Width = 209
      Height = 25
      Caption = '启动Word(&S)'
      Font.Charset = GB2312_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = '宋体'
      Font.Style = []
      ParentFont = False
      TabOrder = 0
      OnClick = BStartwordClick
    end
  end
  object lstHypotheses: TListBox
    Left = 0
    Top = 33
    Width = 226
    Height = 121
    Hint = '[选字框]：双击将选择字段输入到Word中。'
    Align = alClient
    Color = clMoneyGreen
    Ctl3D = False
    Font.Charset = GB2312_CHARSET
    Font.Color = clRed
    Font.Height = -13
    Font.Name = '宋体'
    Font.Style = []
    Items.Strings = (
      '点击[启动word]，打开word.'
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
    ShowHint = True
    TabOrder = 1
    OnDblClick = lstHypothesesDblClick
  end
  object ProgressBar: TProgressBar
    Left = 0
    Top = 154
    Width = 226
    Height = 20
    Hint = '语音进度条。'
    Align = alBottom
    Min = 0
    Max = 100
    ParentShowHint = False
    ShowHint = True
    Smooth = True
    TabOrder = 2
  end
  object Memo1: TMemo
    Left = 16
    Top = 48
    Width = 185
    Height = 89
    Lines.Strings = (
      'Memo1')
    TabOrder = 3
    Visible = False
  end
  object WordDocu: TWordDocument
    AutoConnect = False
    ConnectKind = ckRunningOrNew
  end
  object WordApp: TWordApplication
    AutoConnect = False
    ConnectKind = ckRunningOrNew
    AutoQuit = False
  end
  object SpSharedRecoContext1: TSpSharedRecoContext
    AutoConnect = False
    ConnectKind = ckRunningOrNew
    OnStartStream = SpSharedRecoContext1StartStream
    OnEndStream = SpSharedRecoContext1EndStream
    OnSoundStart = SpSharedRecoContext1SoundStart
    OnSoundEnd = SpSharedRecoContext1SoundEnd
    OnPhraseStart = SpSharedRecoContext1PhraseStart
    OnHypothesis = SpSharedRecoContext1Hypothesis
    OnRecognition = SpSharedRecoContext1Recognition
    OnFalseRecognition = SpSharedRecoContext1FalseRecognition
    OnInterference = SpSharedRecoContext1Interference
    OnRequestUI = SpSharedRecoContext1RequestUI
    OnRecognitionForOtherContext = SpSharedRecoContext1RecognitionForOtherContext
    OnAudioLevel = SpSharedRecoContext1AudioLevel
  end
  object MainMenu1: TMainMenu
    object NFile: TMenuItem
      Caption = '文件(&F)'
      object NSet: TMenuItem
        Caption = '配置说明(&S)'
        OnClick = NSetClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object N6: TMenuItem
        Caption = '麦克风训练(&M)'
        OnClick = N6Click
      end
      object N7: TMenuItem
        Caption = '语音训练向导(&O)'
        OnClick = N7Click
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object Nclose: TMenuItem
        Caption = '关闭(&C)'
        OnClick = NcloseClick
      end
    end
    object NControl: TMenuItem
      Caption = '控制(&C)'
      object NStart: TMenuItem
        Caption = '开始(&S)'
        OnClick = NStartClick
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object NStop: TMenuItem
        Caption = '停止(&P)'
        OnClick = NStopClick
      end
      object N4: TMenuItem
        Caption = '-'
      end
      object D1: TMenuItem
        Caption = '词典(&D)'
        OnClick = D1Click
      end
    end
    object NOptions: TMenuItem
      Caption = '选项(&I)'
      object NFonts: TMenuItem
        Caption = '显示字体(&F)'
        OnClick = NFontsClick
      end
      object NColors: TMenuItem
        Caption = '背景颜色(&C)'
        OnClick = NColorsClick
      end
    end
    object NHelpMenu: TMenuItem
      Caption = '帮助(&H)'
      object Nhelp: TMenuItem
        Caption = '帮助(&H)'
        OnClick = NhelpClick
      end
      object N5: TMenuItem
        Caption = '-'
      end
      object NAbout: TMenuItem
        Caption = '关于(&A)'
        OnClick = NAboutClick
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object NNStart: TMenuItem
      Caption = '开始(&S)'
      OnClick = NNStartClick
    end
    object N8: TMenuItem
      Caption = '-'
    end
    object NNStop: TMenuItem
      Caption = '停止(&P)'
      OnClick = NNStopClick
    end
    object N9: TMenuItem
      Caption = '-'
    end
    object NNvoiceDicts: TMenuItem
      Caption = '词典(&D)'
      OnClick = NNvoiceDictsClick
    end
    object N10: TMenuItem
      Caption = '-'
    end
    object NNAbout: TMenuItem
      Caption = '关于(&A)'
      OnClick = NNAboutClick
    end
  end
  object FontDialog1: TFontDialog
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
  end
  object ColorDialog1: TColorDialog
  end
  object SkinData1: TSkinData
    Active = True
    SkinStream = @DEFAULTSKIN
  end
end
