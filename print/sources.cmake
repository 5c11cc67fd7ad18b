# The printed report: positioned text on a page a printer, a PDF file or a test provides.
qv_sources(qvcore PainterPage PdfPage PrintOperation PrintReport ReportFonts ReportPage)
