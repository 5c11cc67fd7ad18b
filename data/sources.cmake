qv_sources(qvcore ControllerBlocks ExchangeMessage FileOperations QvDataFile QvItems ControllerTransfer
    ControllerTransferJournal ControllerTransferPreview WriteJournal JournalHeader JournalFile
    Verification)
qv_platform_sources(qvcore POSIX JournalFilePosix WINDOWS JournalFileWin)
# Input checking: taking numbers from fields, key rules, the range check.
qv_sources(qvcore FieldNumber KeyRule RangeCheck)
