// \brief The reporter's settings by type, as lists for the typed accessors of IKXSettings. The
// composite settings (F1Classes, F2Classes, Plugins, AddAttachs, AddFields, Assistant1 ...)
// have accessors of their own.
#pragma once

#define KESTRIX_BOOLEAN_SETTINGS(X)                                                              \
    X(Enabled)                                                                                   \
    X(NoSettings)                                                                                \
    X(CheckFreeze)                                                                               \
    X(AutoSave) X(AutoSaveIfNotSent) X(AutoSend) X(AutoSendBox) X(AutoClip) X(PauseThreads)      \
        X(PlWaitBox) X(AutoContinue) X(SendBtnVis) X(SaveBtnVis) X(PrintBtnVis) X(ShowBtnVis)    \
            X(ContinueBtnVis) X(RestartBtnVis) X(CloseBtnVis) X(AutoShowBugRep) X(UglyBtns)      \
                X(SendInBackgr) X(MailAsSmtpServer) X(MailAsSmtpClient) X(UploadViaHttp)         \
                    X(MailViaMapi) X(MailViaMailto) X(AttachBugRep) X(AttachBugRepFile)          \
                        X(DelBugRepFile) X(ScrShotAppOnly) X(AppendBugReps) X(NoDupExcepts)      \
                            X(NoDupFreezes) X(ListThreads) X(CpuRegs) X(StackDump) X(ShowDisAsm) \
                                X(HideUglyItems) X(ShowRelAddrs) X(ShowRelLines) X(FormatDisAsm) \
                                    X(F1NoBugRep) X(F1NoScrShot) X(F1NoHandlers) X(F1NoSuspend)  \
                                        X(F2NoBugRep) X(F2NoScrShot) X(F2NoHandlers)             \
                                            X(F2NoSuspend) X(GnNoBugRep) X(GnNoScrShot)          \
                                                X(GnNoHandlers) X(GnNoSuspend)

#define KESTRIX_INTEGER_SETTINGS(X)                                                      \
    X(FreezeTimeout)                                                                     \
    X(AutoRestart)                                                                       \
    X(AutoClose)                                                                         \
    X(AutoDelay) X(FocusedBtn) X(SmtpPort) X(HttpPort) X(ScrShotDepth) X(BugRepFileSize) \
        X(DupExceptDef) X(DupFreezeDef) X(LimitDisAsm) X(F1ShowCfg) X(F2ShowCfg) X(GnShowCfg)

#define KESTRIX_STRING_SETTINGS(X)                                                               \
    X(SendAssis)                                                                                 \
    X(SaveAssis)                                                                                 \
    X(PrintAssis)                                                                                \
    X(MailAddr) X(SmtpServer) X(SmtpAccount) X(SmtpPassword) X(HttpServer) X(HttpAccount)        \
        X(HttpPassword) X(BugRepSendAs) X(BugRepZip) X(ScrShotSendAs) X(ScrShotZip) X(MailFrom)  \
            X(BugRepFile) X(F1Assis) X(F2Assis) X(GnAssis) X(TitleBar) X(ExceptMsg) X(FrozenMsg) \
                X(SendBtnTxt) X(SaveBtnTxt) X(PrintBtnTxt) X(ShowBtnTxt) X(ContinueBtnTxt)       \
                    X(RestartBtnTxt) X(CloseBtnTxt) X(OkBtnTxt) X(DetailsBtnTxt) X(PlWaitTitle)  \
                        X(PlWaitText) X(MailSubj) X(MailBody) X(SendBoxTitle) X(PrepAttMsg)      \
                            X(MxLookMsg) X(ConnMsg) X(AuthMsg) X(SendMailMsg) X(FieldMsg)        \
                                X(SendAttMsg) X(SendFinalMsg) X(SendFailMsg) X(VersionVar)       \
                                    X(MinDebugInfo)
